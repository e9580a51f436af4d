
dungeon_name="VORHANE"



kel_text2map(0, 3, 3, 30, 0, {
"111",
"101",
"111",
} )

kel_spawnburst_begin()
--TVK_7=spawn_pit(0,1,1)

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,NORTH)

