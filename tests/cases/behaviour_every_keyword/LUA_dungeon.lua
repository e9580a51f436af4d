
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1100",
"1100",
"0000"
} )
kel_text2map(1, 4, 3, 40, 1, {
"0000",
"0011",
"0011",
} )

kel_spawnburst_begin()
TVK_30=kel_spawn("chest",1,3,2,CENTER)
TVK_31=kel_spawn("rat",1,2,2,CENTER)
TVK_3=kel_spawn("flask_blue",IN_OBJ,TVK_30,-1,0)
TVK_4=kel_spawn("bomb_fire",IN_OBJ,TVK_30,-1,0)
TVK_5=kel_spawn("torch",IN_OBJ,TVK_31,-1,0)
TVK_12=kel_spawn("trigger",0,1,1,CENTER)
TVK_13=kel_spawn("trigger",0,1,0,CENTER)
TVK_14=kel_spawn("altar",0,1,1,NORTH)
TVK_15=kel_spawn("altar",0,1,1,SOUTH)
TVK_16=kel_spawn("altar",0,1,1,WEST)
TVK_20=kel_spawn("lever_down",0,0,1,EAST)
TVK_21=kel_spawn("button",0,0,0,WEST)
TVK_7=kel_spawn("teleporter",1,3,1,CENTER)
TVK_8=kel_spawn("teleporter",1,2,1,CENTER)
TVK_9=kel_spawn("floortext",1,3,2,CENTER)
TVK_40=kel_spawn("shooter",0,1,0,SOUTH)
TVK_41=kel_spawn("shooter",0,0,0,NORTH)
TVK_42=kel_spawn("floordamager",0,1,1,CENTER)
TVK_43=kel_spawn("generator",1,2,1,CENTER)
TVK_44=kel_spawn("altar",1,3,1,CENTER)
TVK_45=spawn_pit(1,3,2)
TVK_46=kel_spawn("ipit",0,0,1,CENTER)
TVK_47=kel_spawn("mirror",1,2,2,NORTH)
TVK_49=kel_spawn("altar",1,2,1,CENTER)
--TVK_48=kel_spawn("TYPE_GHOST",0,1,1,CENTER)
kel_disable(TVK_31)
kel_set_maxhp(TVK_31,25)
kel_set_hp(TVK_31,25)
exvar[TVK_3]={power=6}
exvar[TVK_4]={power=1}
exvar[TVK_12]={sound="click",target={TVK_20,TVK_21},delay=5,opby_party=true,msg=M_TOGGLE}
exvar[TVK_13]={target=TVK_20,opby_party_carry=true,opby="key_gold",disable_self=true,destroy=true,const_weight=true,release=true,msg=M_ACTIVATE}
exvar[TVK_14]={opby_monster=true,msg=M_DEACTIVATE}
exvar[TVK_15]={charge=7,msg=M_DESTROY}
exvar[TVK_16]={target=TVK_b_12,delay=0.5,opby_party=true,opby_monster=true,opby_thing=true}
exvar[TVK_20]={target=TVK_21,opby_party=true}
exvar[TVK_21]={target=TVK_7}
exvar[TVK_7]={silent=true,x=1,y=1,lev=0,spin=2}
exvar[TVK_8]={sound="whoosh",x=2,y=2,lev=1,face=WEST}
exvar[TVK_9]={color={255,255,255},disable_self=true,text="BEWARE/THE DARK"}
exvar[TVK_40]={double=true,shoots="fireball_missile",power=40}
exvar[TVK_41]={double=false,power=12}
exvar[TVK_42]={dmg_amt=12,dmg_type=3}
exvar[TVK_43]={generates="rat",hp=30,min=1,max=3,regen=20}
exvar[TVK_44]={count=3 }
kel_disable(TVK_45)
kel_disable(TVK_46)
exvar[TVK_47]={champion=IronHand }
exvar[TVK_49]={opby="W"}
--exvar[TVK_48]={target=TVK_12}
--kel_disable(TVK_48)
--kel_set_maxhp(TVK_48,120)
--kel_set_hp(TVK_48,120)

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,0,0,NORTH)

