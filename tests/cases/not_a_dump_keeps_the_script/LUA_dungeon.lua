-- the script of an earlier run
TVK_1=kel_spawn("torch",0,0,0,NORTH)
