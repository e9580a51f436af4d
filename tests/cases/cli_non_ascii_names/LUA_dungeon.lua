
dungeon_name="VORHANE"



kel_text2map(0, 3, 3, 20, 0, {
"111",
"1001",
"111",
} )

kel_spawnburst_begin()

ch_7=kel_add_champion("port_orrin","Orrin","the Pale",450,300,120,400,350,300,420,380,360,500,2,0,1,0)

kel_champion_toparty(0,ch_7)
kel_champion_toparty(1,ch_7)
TVK_t_1=kel_spawn("torch",0,1,1,SOUTH)
TVK_t_1=kel_spawn("torch",0,0,0,CENTER)
TVK_far=kel_spawn("torch",0,7,1,EAST)
TVK_gate=kel_spawn("teleporter",0,1,1,CENTER)
TVK_lev=kel_spawn("lever_up",0,1,0,NORTH)
exvar[TVK_gate]={silent=true,x=9,y=9,lev=0}
exvar[TVK_lev]={target={TVK_t_1,TVK_}}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,NORTH)

