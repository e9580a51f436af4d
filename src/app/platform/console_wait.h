#pragma once
// Whether the program keeps its console window open at the end: a program that an author started
// from the file manager (a dump dropped onto it) has a window of its own that closes as soon as
// the program ends, before anyone could read the messages.

// What the system tells about the console the program runs in.
struct ConsoleFacts {
    // Processes attached to the program's console, the program included (0: it has none).
    unsigned long attached_processes = 0;
    // Standard input reads from the console's keyboard (not from a file or a pipe).
    bool input_is_console = false;
    // Standard error writes into the console's window (not into a file or a pipe).
    bool errors_go_to_console = false;
};

// True when the program owns its console window alone and both its messages and the Enter key
// are in that window: started from the file manager. A program started from a command prompt or
// a script shares the console (or has its streams redirected) and never waits.
bool waits_for_enter_before_closing(const ConsoleFacts& console);
