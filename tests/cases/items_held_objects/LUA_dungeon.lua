
dungeon_name="VORHANE"



kel_text2map(0, 5, 5, 30, 0, {
"11111",
"10001",
"10001",
"10001",
"11111",
} )

kel_spawnburst_begin()
TVK_30=kel_spawn("door_wood",0,1,3,CENTER)
--TVK_31=kel_spawn("old_doorbutton",0,1,3,NORTH)
TVK_10=kel_spawn("chest",0,1,1,CENTER)
TVK_11=kel_spawn("chest",0,2,1,CENTER)
TVK_13=kel_spawn("chest",0,3,1,CENTER)
--TVK_20=kel_spawn("BOX",0,3,3,CENTER)
TVK_40=kel_spawn("chest",0,4,1,CENTER)
TVK_2=kel_spawn("torch",IN_OBJ,TVK_11,-1,0)
TVK_12=kel_spawn("key",IN_OBJ,TVK_10,-1,0)
TVK_3=kel_spawn("key",IN_OBJ,TVK_11,-1,0)
--TVK_4=kel_spawn("torch",
--TVK_5=kel_spawn("chest",
--TVK_6=kel_spawn("key",
--TVK_21=kel_spawn("key",IN_OBJ,TVK_20,-1,0)
TVK_41=kel_spawn("chest",IN_OBJ,TVK_40,-1,0)
--TVK_22=kel_spawn("key",
--exvar[TVK_31]={target=TVK_30}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,NORTH)

