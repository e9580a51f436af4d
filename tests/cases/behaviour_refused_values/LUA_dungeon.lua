
dungeon_name="VORHANE"



kel_text2map(0, 2, 2, 50, 0, {
"11",
"11",
} )

kel_spawnburst_begin()
TVK_1=kel_spawn("altar",0,0,0,CENTER)
TVK_2=kel_spawn("altar",0,0,1,CENTER)
TVK_3=kel_spawn("teleporter",0,1,0,CENTER)
TVK_4=kel_spawn("rat",0,1,1,CENTER)
TVK_5=kel_spawn("mirror",0,1,1,CENTER)
TVK_6=kel_spawn("generator",0,0,0,CENTER)
TVK_7=kel_spawn("bomb",0,0,1,CENTER)
exvar[TVK_1]={target=TVK_2}
exvar[TVK_2]={}
exvar[TVK_3]={silent=true}
kel_disable(TVK_4)
exvar[TVK_5]={}
exvar[TVK_6]={generates="rat",hp=12}
exvar[TVK_7]={power=1}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,NORTH)

