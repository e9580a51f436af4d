
dungeon_name="VORHANE"



kel_text2map(0, 4, 3, 50, 0, {
"1111",
"1001",
"1111",
} )

kel_spawnburst_begin()

ch_1=kel_add_champion("port_orrin","Orrin","",450,300,120,400,350,300,420,380,360,500,2,0,1,0)
--TVK_lever_1=kel_spawn("LEVER_WALL",0,1,1,SOUTH)

kel_spawnburst_end()

dungeon_translate()

kel_party_place(0,1,1,EAST)

