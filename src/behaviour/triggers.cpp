#include "behaviour/groups.h"

void read_targets(const LineContext&, Item&, Properties&) {}
void read_operated_by(const LineContext&, Item&, Properties&) {}
void read_disable_self(const LineContext&, Item&, Properties&) {}
void read_destroy_item(const LineContext&, Item&, Properties&) {}
void read_messages(const LineContext&, Item&, Properties&) {}
void read_weight_and_release(const LineContext&, Item&, Properties&) {}
