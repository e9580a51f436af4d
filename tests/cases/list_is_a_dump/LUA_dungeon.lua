
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_door_a=kel_spawn("1",0,1,1,CENTER)
TVK_lever_1=kel_spawn("2",0,2,1,WEST)
--TVK_btn_1=kel_spawn("DOOR_BUTTON",0,1,1,CENTER)
exvar[TVK_lever_1]={target=TVK_door_a}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

