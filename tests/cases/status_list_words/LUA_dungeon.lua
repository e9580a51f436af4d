
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_door_1=kel_spawn("door_iron",0,1,1,CENTER)
TVK_shooter_1=kel_spawn("shooter",0,1,1,NORTH)
TVK_shooter_2=kel_spawn("shooter",0,2,1,SOUTH)
TVK_shooter_3=kel_spawn("shooter",0,2,1,WEST)
TVK_gen_1=kel_spawn("generator",0,1,1,CENTER)
TVK_gen_2=kel_spawn("generator",0,2,1,CENTER)
TVK_gen_3=kel_spawn("generator",0,2,1,CENTER)
TVK_trig_1=kel_spawn("trigger",0,2,1,CENTER)
TVK_trig_2=kel_spawn("trigger",0,2,1,CENTER)
TVK_trig_3=kel_spawn("trigger",0,2,1,CENTER)
TVK_trig_4=kel_spawn("trigger",0,2,1,CENTER)
TVK_trig_5=kel_spawn("trigger",0,2,1,CENTER)
TVK_lever_1=kel_spawn("lever_up",0,1,1,NORTH)
TVK_altar_1=kel_spawn("altar",0,1,1,CENTER)
--TVK_ghost_1=kel_spawn("GHOST",0,1,1,CENTER)
exvar[TVK_shooter_1]={double=false,shoots="ICEBALL",power=40}
exvar[TVK_shooter_2]={double=false,shoots="ICEBALL",power=40}
exvar[TVK_shooter_3]={double=false,power=40}
exvar[TVK_gen_1]={generates="DRAGON"}
exvar[TVK_gen_2]={generates="GHOST"}
exvar[TVK_gen_3]={generates="spider"}
exvar[TVK_trig_1]={target=TVK_door_1,opby_party_carry=true,opby="KEY_GOLD"}
exvar[TVK_trig_2]={target=TVK_door_1,opby_party=true}
exvar[TVK_trig_3]={target=TVK_door_1,opby_party_carry=true,opby="KEY_SILVER"}
exvar[TVK_trig_4]={target=TVK_door_1,opby_monster=true}
exvar[TVK_trig_5]={target=TVK_door_1,opby_party_carry=true,opby="KEY_GOLD"}
exvar[TVK_lever_1]={target=TVK_door_1}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

