
dungeon_name="VORHANE"



kel_text2map(0, 2, 1, 50, 0, {
"11",
} )

ch_2=kel_add_champion("port_odd\"one","Say \"hi\" \\"," the ]]-- \"Bold\" ",10,-20,30,0,0,0,0,0,70,500,0,-1,0,7)

kel_champion_toparty(0,ch_2)

kel_champion_toparty(1,ch_2)

kel_spawnburst_end()

dungeon_translate()
