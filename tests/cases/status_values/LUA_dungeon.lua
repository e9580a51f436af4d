
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_door_1=kel_spawn("door_iron",0,1,1,CENTER)
TVK_lever_1=kel_spawn("lever_up",0,1,1,NORTH)
TVK_rat_1=kel_spawn("rat",0,2,1,CENTER)
TVK_rat_2=kel_spawn("rat",0,2,1,CENTER)
TVK_gen_1=kel_spawn("generator",0,1,1,CENTER)
TVK_altar_1=kel_spawn("altar",0,1,1,CENTER)
TVK_altar_2=kel_spawn("altar",0,2,1,CENTER)
TVK_altar_3=kel_spawn("altar",0,2,1,CENTER)
TVK_flask_1=kel_spawn("flask_water",0,1,1,CENTER)
TVK_text_1=kel_spawn("floortext",0,2,1,CENTER)
TVK_lever_2=kel_spawn("lever_up",0,1,1,SOUTH)
TVK_lever_3=kel_spawn("lever_up",0,1,1,WEST)
TVK_lever_4=kel_spawn("lever_up",0,1,1,EAST)
TVK_lever_5=kel_spawn("lever_up",0,2,1,NORTH)
TVK_lever_6=kel_spawn("lever_up",0,2,1,SOUTH)
TVK_tele_1=kel_spawn("teleporter",0,2,1,CENTER)
TVK_tele_2=kel_spawn("teleporter",0,2,1,CENTER)
TVK_gen_2=kel_spawn("generator",0,2,1,CENTER)
TVK_gen_3=kel_spawn("generator",0,2,1,CENTER)
TVK_shooter_1=kel_spawn("shooter",0,1,1,WEST)
exvar[TVK_lever_1]={target=TVK_door_1,delay=abc,msg=M_TOGGLE}
kel_set_maxhp(TVK_rat_1,-5)
kel_set_hp(TVK_rat_1,-5)
kel_set_maxhp(TVK_rat_2,0)
kel_set_hp(TVK_rat_2,0)
exvar[TVK_gen_1]={generates="rat",hp=0,min=5,max=1}
exvar[TVK_altar_1]={count=-3 }
exvar[TVK_altar_2]={charge=many,count=0 }
exvar[TVK_altar_3]={text="not COUNT=(4",count=3 }
exvar[TVK_flask_1]={power=4}
exvar[TVK_text_1]={color={255,255,255},disable_self=true,text="Beware (the"}
exvar[TVK_lever_2]={target=TVK_door_1,msg=M_TOGGLE}
exvar[TVK_lever_3]={target=TVK_door_1,msg=M_DEACTIVATE}
exvar[TVK_lever_4]={target=TVK_door_1,msg=M_TOGGLE}
exvar[TVK_lever_5]={sound="big lever",target=TVK_door_1,msg=M_TOGGLE}
exvar[TVK_lever_6]={target=TVK_door_1,delay=2,msg=M_DESTROY}
exvar[TVK_tele_1]={silent=true,x=1,y=1,lev=0,face=NORTH,text="GO NORTH"}
exvar[TVK_tele_2]={silent=true,disable_self=true,x=1,y=1,lev=0,spin=1}
exvar[TVK_gen_2]={generates="rat",min=1,max=20,regen=20}
exvar[TVK_gen_3]={msg=M_TOGGLE,generates="rat",min=1,max=E}
exvar[TVK_shooter_1]={double=false,power=power,target=TVK_door_1}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

