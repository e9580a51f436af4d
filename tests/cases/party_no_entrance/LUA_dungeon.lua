
dungeon_name="VORHANE"


kel_text2map(0, 1, 1, 50, 0, {
"1",
} )

solo=kel_add_champion("port_solo","Solo","",10,20,30,80,90,100,110,120,130,500,4,5,6,7)

kel_champion_toparty(0,solo)

kel_spawnburst_end()

dungeon_translate()
