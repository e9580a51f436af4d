
dungeon_name="VORHANE"


kel_spawnburst_begin()


kel_text2map(2, 4, 3, 50, 1, {
"SIZE(4,3)",
"1111",
"1001",
} )
kel_text2map(3, 4, 3, 50, 2, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_door_1=kel_spawn("door_iron",3,2,1,CENTER)
TVK_alt_3=kel_spawn("altar",3,1,1,CENTER)
TVK_key_1=kel_spawn("key",IN_OBJ,TVK_alt_3,-1,0)
--TVK_key_2=kel_spawn("key",
TVK_lever_1=kel_spawn("lever_up",3,1,1,SOUTH)
TVK_lever_2=kel_spawn("lever_up",3,2,1,SOUTH)
TVK_lever_3=kel_spawn("lever_up",3,1,1,NORTH)
TVK_alt_1=kel_spawn("altar",3,1,1,CENTER)
TVK_alt_2=kel_spawn("altar",3,2,1,CENTER)
exvar[TVK_alt_3]={msg=M_TOGGLE}
exvar[TVK_lever_1]={target=TVK_door_1TOGGLE,msg=M_TOGGLE}
exvar[TVK_lever_2]={target=TVK_door_1,msg=M_TOGGLE}
exvar[TVK_lever_3]={target=TVK_door_1,delay=5,msg=M_TOGGLE}
exvar[TVK_alt_1]={}
kel_set_maxhp(TVK_alt_1,5)
kel_set_hp(TVK_alt_1,5)
exvar[TVK_alt_2]={count=3 }
kel_set_maxhp(TVK_alt_2,5)
kel_set_hp(TVK_alt_2,5)

kel_spawnburst_end()

dungeon_translate()

kel_party_place(3,1,1,EAST)

