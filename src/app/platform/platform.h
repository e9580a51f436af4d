#pragma once
// What differs between the systems the converter runs on: the command line's encoding, file
// names, replacing a file, standard output in binary mode, cleaning up on an interrupt and the
// console window. Every name that reaches the rest of the program is UTF-8.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/console_wait.h"

// The program's arguments after its own name, as UTF-8 (on Windows read from the wide command
// line, so that names with letters outside the console's code page survive).
std::vector<std::string> utf8_arguments(int argc, char** argv);

// The path that a UTF-8 file name stands for.
std::filesystem::path path_from_utf8(const std::string& name);

// The UTF-8 form of a path, for messages.
std::string utf8_from_path(const std::filesystem::path& path);

// Moves the file `from` onto `to`, replacing a file that is there; `to` then holds either its old
// content or the whole new one, never a mix. Sets error on failure.
void replace_file(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error);

// Writes standard output and standard error byte for byte, with no translation of line ends; a
// console window shows their UTF-8 names as such.
void set_binary_standard_output();

// True when the process's standard output is the given existing file (as when the shell sends it
// there with ">").
bool standard_output_is(const std::filesystem::path& file);

// What the system tells about the console the program runs in (nothing where there is none, and
// on systems whose programs never own a window of their own).
ConsoleFacts console_facts();

// Asks on standard error for Enter and waits for it (or for the end of standard input).
void wait_for_enter();

// While a file is being written, removes it when the run is interrupted (Ctrl-C, termination);
// an empty path forgets it again. One file at a time.
void remove_on_interrupt(const std::filesystem::path& file);

// An unnamed temporary file, open for writing and reading in binary, that the system deletes when
// it is closed; null when none can be made. On Windows it is made in the user's folder of
// temporary files (the C library's own makes it in the root of the drive, which a user may not
// write); elsewhere it is the C library's.
std::FILE* make_temporary_file();

// The system's text for the last failed file operation (errno), "unknown error" when it set none.
std::string last_system_error();
