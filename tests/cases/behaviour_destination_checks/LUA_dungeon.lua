
dungeon_name="VORHANE"



kel_text2map(0, 2, 2, 20, 0, {
"11",
"11",
} )

kel_spawnburst_begin()
TVK_into_gap=kel_spawn("teleporter",0,0,0,CENTER)
TVK_outside=kel_spawn("teleporter",0,1,1,CENTER)
TVK_fine=kel_spawn("teleporter",0,1,0,CENTER)
exvar[TVK_into_gap]={silent=true}
exvar[TVK_outside]={silent=true,x=4,y=0,lev=0,spin=3}
exvar[TVK_fine]={silent=true,x=0,y=1,lev=0}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,SOUTH)

