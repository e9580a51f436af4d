
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 60, 0, {
"0111",
"0101",
"0000"
} )
kel_text2map(1, 4, 3, 40, 1, {
"0000",
"1100",
"1100",
} )

kel_spawnburst_begin()

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,2,1,NORTH)

