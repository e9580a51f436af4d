
dungeon_name="VORHANE"



kel_text2map(0, 2, 2, 20, 0, {
"11",
"11",
} )

kel_spawnburst_begin()

ch_7=kel_add_champion("port_orrin","Orrin","the Pale",450,300,120,400,350,300,420,380,360,500,2,0,1,0)

kel_champion_toparty(0,ch_7)
TVK_t_1=kel_spawn("torch",0,0,0,SOUTH)
TVK_l_1=kel_spawn("lever_up",0,1,1,EAST)
exvar[TVK_l_1]={target=TVK_t_1}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,1,WEST)

