
dungeon_name="VORHANE"



kel_text2map(0, 2, 2, 50, 0, {
"11",
"11",
} )

kel_spawnburst_begin()
TVK_1=kel_spawn("floortext",0,0,0,CENTER)
TVK_2=kel_spawn("altar",0,0,1,CENTER)
TVK_3=kel_spawn("shooter",0,1,0,CENTER)
TVK_4=kel_spawn("generator",0,1,1,CENTER)
TVK_5=kel_spawn("altar",0,1,1,CENTER)
exvar[TVK_1]={color={255,255,255},disable_self=true,text="HI\" .. error\"INJECTED\" .. \"/"}
exvar[TVK_2]={opby="K\"..error\"X\"..\""}
exvar[TVK_3]={double=false,shoots="\"..error\"S\"..\"",power=1}
exvar[TVK_4]={generates="]]..error\"G\"..[["}
exvar[TVK_5]={sound="\"..error\"q\"..\""}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,NORTH)

