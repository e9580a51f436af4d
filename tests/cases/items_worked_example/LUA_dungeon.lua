
dungeon_name="VORHANE"



kel_text2map(0, 5, 5, 30, 0, {
"11111",
"10001",
"10001",
"10001",
"11111",
} )

kel_spawnburst_begin()
TVK_7=kel_spawn("doorframe",0,3,4,CENTER)
TVK_2=kel_spawn("door_wood",0,3,4,CENTER)
TVK_4=kel_spawn("doorbutton",0,3,4,NORTH)
TVK_3=kel_spawn("chest",0,1,1,CENTER)
TVK_5=kel_spawn("torch",IN_OBJ,TVK_3,-1,0)
TVK_1=kel_spawn("torch",0,0,0,CENTER)
--TVK_6=kel_spawn("GHOST",0,1,0,EAST)
exvar[TVK_4]={target=TVK_2}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,SOUTH)

