-- the script of an earlier run, kept by the author
kel_party_place(0,0,0,NORTH)
