
dungeon_name="VORHANE"



kel_text2map(0, 3, 3, 20, 0, {
"111",
"111",
"111",
} )

kel_spawnburst_begin()
TVK_t1=kel_spawn("torch",0,0,1,CENTER)
--TVK_g1=kel_spawn("GHOST",0,0,0,CENTER)
--TVK_s1=kel_spawn("SKULL",0,1,0,CENTER)
--TVK_g2=kel_spawn("GHOST",0,1,1,CENTER)
--TVK_dust=kel_spawn("DUST",0,2,2,CENTER)
--TVK_g3=kel_spawn("GHOST",0,2,1,CENTER)

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,SOUTH)

