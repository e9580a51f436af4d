
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 30, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_1=kel_spawn("torch",0,0,0,NORTH)
TVK_2=kel_spawn("DOOR_FRAME",0,2,1,CENTER)
--TVK_3=kel_spawn("DOOR_FRAME",0,2,1,CENTER)
--TVK_4=kel_spawn("LEVER",0,3,1,WEST)
--exvar[TVK_4]={target=TVK_2,msg=M_TOGGLE}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,SOUTH)

