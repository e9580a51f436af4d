
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()
TVK_door_a=kel_spawn("door_iron",0,2,1,CENTER)
TVK_btn_1=kel_spawn("doorbutton",0,1,1,WEST)
TVK_chest_1=kel_spawn("chest",0,2,1,CENTER)
TVK_key_a=kel_spawn("key_iron",IN_OBJ,TVK_chest_1,-1,0)
TVK_lever_1=kel_spawn("lever_up",0,1,1,CENTER)
TVK_tele_1=kel_spawn("teleporter",0,1,1,CENTER)
TVK_note_1=kel_spawn("floortext",0,2,1,CENTER)
exvar[TVK_lever_1]={target=TVK_door_b,msg=M_TOGGLE}
exvar[TVK_note_1]={color={255,255,255},disable_self=true,release=true,text="DO NOT RELEASE THE WATER"}

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

