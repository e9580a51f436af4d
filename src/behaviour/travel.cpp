#include "behaviour/groups.h"

void read_charge(const LineContext&, Item&, Properties&) {}
void read_destination(const LineContext&, Item&, Properties&) {}
void read_text(const LineContext&, Item&, Properties&) {}
void read_sound(const LineContext&, Item&, Properties&) {}
