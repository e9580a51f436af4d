
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 30, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_1=kel_spawn("torch",0,0,0,NORTH)
exvar[TVK_1]={}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,SOUTH)

