// The converter's entry point: reads the command line, runs the conversion on files and returns
// the exit status; messages go to standard error.

#include <iostream>

#include "driver/run_files.h"
#include "platform/platform.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    return run_command_line(utf8_arguments(argc, argv), std::cout, std::cerr);
}
