
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()


ch_1=kel_add_champion("port_orrin","Orrin","",450,300,120,400,350,300,420,380,360,500,2,0,1,0)

kel_champion_toparty(0,ch_1)

kel_spawnburst_begin()
TVK_gen_1=kel_spawn("generator",0,1,1,CENTER)
TVK_gen_2=kel_spawn("generator",0,2,1,CENTER)
TVK_gen_3=kel_spawn("generator",0,1,1,CENTER)
TVK_lever_1=kel_spawn("lever_up",0,1,1,SOUTH)
TVK_lever_2=kel_spawn("lever_up",0,2,1,NORTH)
TVK_lever_3=kel_spawn("lever_up",0,1,1,EAST)
exvar[TVK_gen_1]={generates="rat",min=2,max=12}
exvar[TVK_gen_2]={generates="rat",min=10,max=10}
exvar[TVK_gen_3]={generates="rat",min=1,max=4}
exvar[TVK_lever_1]={sound="lever toggle",msg=M_TOGGLE}
exvar[TVK_lever_2]={msg=M_TOGGLE}
exvar[TVK_lever_3]={sound="big lever",msg=M_TOGGLE}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

