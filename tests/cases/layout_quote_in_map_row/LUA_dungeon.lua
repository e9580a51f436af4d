
dungeon_name="VORHANE"



kel_text2map(0, 3, 2, 10, 0, {
"1\"1",
"1\")os.exit()--",
} )

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,EAST)

