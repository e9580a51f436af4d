// The converter's entry point: opens the three files of the current directory, converts, prints
// the report to standard error and returns the exit status.

#include <fstream>
#include <iostream>

#include "driver/convert.h"

int main()
{
    std::ifstream dump("my_dungeon.txt", std::ios::binary);
    std::ofstream script("LUA_dungeon.lua", std::ios::binary | std::ios::trunc);
    std::ifstream list("obj_list.txt", std::ios::binary);
    if (!dump.is_open() || !script.is_open() || !list.is_open()) return status_no_file;

    const ObjectList names = ObjectList::read(list);
    Report report;
    const int status = convert(dump, script, names, report);
    script.close();
    for (const auto& problem : report.lines()) std::cerr << problem << "\n";
    if (script.fail()) {
        std::cerr << "LUA_dungeon.lua: the script could not be written in full\n";
        return status_no_file;
    }
    return status;
}
