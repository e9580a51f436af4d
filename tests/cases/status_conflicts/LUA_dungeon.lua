
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()

ch_1=kel_add_champion("port_orrin","Orrin","",450,300,120,400,350,300,420,380,360,500,2,0,1,0)
ch_2=kel_add_champion("port_mira","Mira","",380,440,200,300,450,400,330,400,420,500,0,1,3,2)
ch_1=kel_add_champion("port_orrin","Orrin","the Pale",450,300,120,400,350,300,420,380,360,500,2,0,1,0)

kel_champion_toparty(0,ch_1)
kel_champion_toparty(1,ch_2)
TVK_door_a=kel_spawn("door_iron",0,1,1,CENTER)
TVK_door_b=kel_spawn("door_iron",0,1,1,CENTER)
TVK_door_c=kel_spawn("door_iron",0,2,1,CENTER)
TVK_btn_1=kel_spawn("doorbutton",0,1,1,WEST)
TVK_btn_2=kel_spawn("doorbutton",0,2,1,EAST)
exvar[TVK_btn_1]={target=TVK_door_b}
exvar[TVK_btn_2]={target=TVK_door_c}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,2,1,WEST)

