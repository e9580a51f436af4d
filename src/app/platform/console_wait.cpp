#include "platform/console_wait.h"

bool waits_for_enter_before_closing(const ConsoleFacts& console)
{
    return console.attached_processes == 1 && console.input_is_console && console.errors_go_to_console;
}
