
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_key_1=kel_spawn("key_iron",0,2,1,CENTER)
--TVK_ghost_1=kel_spawn("GHOST",0,1,1,CENTER)

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

