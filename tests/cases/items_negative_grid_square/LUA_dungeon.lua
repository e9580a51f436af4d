
dungeon_name="VORHANE"



kel_text2map(0, 4, 4, 20, 0, {
"1110",
"1010",
"1110",
"0000"
} )
kel_text2map(1, 4, 4, 10, 1, {
"0000",
"0000",
"0011",
"0011",
} )

kel_spawnburst_begin()
--TVK_box=kel_spawn("chest",1,_1,2,CENTER)
--TVK_gem=kel_spawn("torch",IN_OBJ,TVK_box,-1,0)
--TVK_hole=spawn_pit(1,2,_3)
TVK_side=kel_spawn("torch",1,1,2,WEST)
TVK_ok=kel_spawn("torch",1,3,3,CENTER)

kel_spawnburst_end()

dungeon_translate()

kel_party_place(1,2,2,SOUTH)

