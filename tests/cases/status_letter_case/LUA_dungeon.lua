
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_door_1=kel_spawn("door_iron",0,1,1,NORTH)
TVK_door_2=kel_spawn("door_iron",0,2,1,NORTH)
TVK_lever_1=kel_spawn("lever_up",0,1,1,NORTH)
TVK_lever_2=kel_spawn("lever_up",0,1,1,CENTER)
TVK_lever_3=kel_spawn("lever_up",0,1,1,WEST)
TVK_lever_4=kel_spawn("lever_up",0,2,1,CENTER)
TVK_trig_1=kel_spawn("trigger",0,2,1,CENTER)
TVK_tele_1=kel_spawn("teleporter",0,2,1,CENTER)
TVK_tele_2=kel_spawn("teleporter",0,2,1,CENTER)
TVK_tele_3=kel_spawn("teleporter",0,2,1,CENTER)
TVK_altar_1=kel_spawn("altar",0,1,1,EAST)
TVK_altar_2=kel_spawn("altar",0,1,1,EAST)
kel_disable(TVK_door_2)
exvar[TVK_lever_2]={target=TVK_door_1,msg=M_TOGGLE}
exvar[TVK_lever_3]={target=TVK_door_1}
exvar[TVK_lever_4]={sound="big lever",target=TVK_door_2,msg=M_TOGGLE}
exvar[TVK_trig_1]={target=TVK_door_1,opby_party_carry=true,opby="party"}
exvar[TVK_tele_1]={silent=true,x=1,y=1,lev=0}
exvar[TVK_tele_2]={silent=true,x=1,y=1,lev=0}
exvar[TVK_tele_3]={silent=true,x=1,y=1,lev=0}
exvar[TVK_altar_1]={text="pull to toggle: target=(x"}
exvar[TVK_altar_2]={text="a toggle",count=2 }

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

