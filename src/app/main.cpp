// The converter's entry point: reads the command line, runs the conversion on files and returns
// the exit status; messages go to standard error. Started from the file manager, in a console
// window of its own, it waits for Enter before that window closes, so the messages can be read.

#include <iostream>

#include "files/run_files.h"
#include "platform/platform.h"
#include "store/text_spool.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    set_binary_standard_output();
    // The statements that wait for the end of a large dump go to temporary files the system allows.
    TextSpool::set_spool_file_maker(make_temporary_file);
    const int status = run_command_line(utf8_arguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    if (waits_for_enter_before_closing(console_facts())) wait_for_enter();
    return status;
}
