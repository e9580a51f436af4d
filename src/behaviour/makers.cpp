#include "behaviour/groups.h"

void read_shooter(const LineContext&, Item&, Properties&) {}
void read_floor_damage(const LineContext&, Item&, Properties&) {}
void read_generator(const LineContext&, Item&, Properties&) {}
void read_count(const LineContext&, Item&, Properties&) {}
