#include "platform/platform.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
// <shellapi.h> needs the types of <windows.h> before it.
#include <windows.h>
#include <shellapi.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// The file to remove on an interrupt, as the wide name the system takes.
wchar_t interrupt_file[32768];

BOOL WINAPI on_console_event(DWORD)
{
    if (interrupt_file[0] != L'\0') DeleteFileW(interrupt_file);
    return FALSE;
}

// The console's output code page before the run switched it to UTF-8 (0: not known yet).
UINT console_code_page = 0;

void restore_console_code_page()
{
    SetConsoleOutputCP(console_code_page);
}

std::string utf8_from_wide(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back();
    return result;
}
#else
// The file to remove on an interrupt; a fixed buffer, since the signal handler may not allocate.
char interrupt_file[4096];

extern "C" void on_interrupt(int signal_number)
{
    if (interrupt_file[0] != '\0') ::unlink(interrupt_file);
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}
#endif

} // namespace

std::vector<std::string> utf8_arguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
#ifdef _WIN32
    (void)argv;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        for (int i = 1; i < count; ++i) arguments.push_back(utf8_from_wide(wide[i]));
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

fs::path path_from_utf8(const std::string& name)
{
    return fs::path(std::u8string(name.begin(), name.end()));
}

std::string utf8_from_path(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void replace_file(const fs::path& from, const fs::path& to, std::error_code& error)
{
    error.clear();
#ifdef _WIN32
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
    fs::rename(from, to, error);
#endif
}

void set_binary_standard_output()
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console shows the bytes in its output code page: UTF-8 for the time of the run, so that
    // file names such as "Château" read right; the console gets its own code page back at exit.
    if (console_code_page == 0) {
        console_code_page = GetConsoleOutputCP();
        if (console_code_page != 0 && console_code_page != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
            std::atexit(restore_console_code_page);
    }
#endif
}

ConsoleFacts console_facts()
{
    ConsoleFacts console;
#ifdef _WIN32
    DWORD processes[2];
    console.attached_processes = GetConsoleProcessList(processes, 2);
    DWORD mode = 0;
    console.input_is_console = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
    console.errors_go_to_console = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
#endif
    return console;
}

void wait_for_enter()
{
    std::fputs("Press Enter to close this window.", stderr);
    std::fflush(stderr);
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
}

void remove_on_interrupt(const fs::path& file)
{
#ifdef _WIN32
    const std::wstring name = file.wstring();
    if (name.size() >= sizeof interrupt_file / sizeof interrupt_file[0]) return;
    // The first character last: a handler that runs meanwhile sees no name or the whole one.
    interrupt_file[0] = L'\0';
    if (!name.empty()) std::wmemcpy(interrupt_file + 1, name.c_str() + 1, name.size());
    interrupt_file[0] = name.empty() ? L'\0' : name[0];
    static const bool installed = SetConsoleCtrlHandler(on_console_event, TRUE) != 0;
    (void)installed;
#else
    const std::string name = file.string();
    if (name.size() >= sizeof interrupt_file) return;
    // The first character last: a handler that runs meanwhile sees no name or the whole one.
    interrupt_file[0] = '\0';
    if (!name.empty()) std::memcpy(interrupt_file + 1, name.c_str() + 1, name.size());
    interrupt_file[0] = name.empty() ? '\0' : name[0];
    static const bool installed = [] {
        for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal_number, on_interrupt);
        return true;
    }();
    (void)installed;
#endif
}

std::string last_system_error()
{
    const int number = errno;
    if (number == 0) return "unknown error";
    return std::strerror(number);
}

std::FILE* make_temporary_file()
{
#ifdef _WIN32
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    wchar_t path[MAX_PATH];
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"d2l", 0, path) == 0) return std::tmpfile();
    // "T": kept in memory where the system can; "D": deleted when closed, however the run ends.
    std::FILE* file = _wfopen(path, L"w+bTD");
    if (!file) {
        DeleteFileW(path);
        return std::tmpfile();
    }
    return file;
#else
    return std::tmpfile();
#endif
}

bool standard_output_is(const fs::path& file)
{
#ifdef _WIN32
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == INVALID_HANDLE_VALUE || output == nullptr) return false;
    HANDLE other = CreateFileW(file.wstring().c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (other == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    const bool same = GetFileInformationByHandle(output, &a) && GetFileInformationByHandle(other, &b) &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                      a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(other);
    return same;
#else
    struct stat output {};
    struct stat other {};
    if (fstat(STDOUT_FILENO, &output) != 0 || stat(file.c_str(), &other) != 0) return false;
    return S_ISREG(output.st_mode) && output.st_dev == other.st_dev && output.st_ino == other.st_ino;
#endif
}
