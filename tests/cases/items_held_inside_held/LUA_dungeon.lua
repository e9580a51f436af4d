
dungeon_name="VORHANE"



kel_text2map(0, 2, 2, 10, 0, {
"11",
"11",
} )

kel_spawnburst_begin()
TVK_chest_1=kel_spawn("chest",0,1,1,CENTER)
TVK_bag_1=kel_spawn("chest",IN_OBJ,TVK_chest_1,-1,0)
--TVK_key_1=kel_spawn("key_gold",

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,NORTH)

