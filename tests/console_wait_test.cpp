// The decision to keep the console window open at the end of a run.

#include <gtest/gtest.h>

#include "platform/console_wait.h"

namespace {

ConsoleFacts own_window()
{
    ConsoleFacts console;
    console.attached_processes = 1;
    console.input_is_console = true;
    console.errors_go_to_console = true;
    return console;
}

TEST(ConsoleWait, WaitsInAWindowOfItsOwnAsTheFileManagerOpensIt)
{
    EXPECT_TRUE(waits_for_enter_before_closing(own_window()));
}

TEST(ConsoleWait, NeverWaitsInAConsoleSharedWithACommandPromptOrScript)
{
    ConsoleFacts console = own_window();
    console.attached_processes = 2;
    EXPECT_FALSE(waits_for_enter_before_closing(console));
    console.attached_processes = 5;
    EXPECT_FALSE(waits_for_enter_before_closing(console));
}

TEST(ConsoleWait, NeverWaitsWithoutAConsole)
{
    EXPECT_FALSE(waits_for_enter_before_closing(ConsoleFacts{}));
    ConsoleFacts console = own_window();
    console.attached_processes = 0;
    EXPECT_FALSE(waits_for_enter_before_closing(console));
}

TEST(ConsoleWait, NeverWaitsWhenInputOrMessagesAreRedirected)
{
    ConsoleFacts console = own_window();
    console.input_is_console = false;
    EXPECT_FALSE(waits_for_enter_before_closing(console)) << "nobody could press Enter: it would hang";
    console = own_window();
    console.errors_go_to_console = false;
    EXPECT_FALSE(waits_for_enter_before_closing(console)) << "the messages are not in the window";
}

} // namespace
