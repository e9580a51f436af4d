#include "files/run_files.h"

#include <cerrno>
#include <fstream>
#include <random>

#include "conversion/convert.h"
#include "conversion/list_completion.h"
#include "page/map_page.h"
#include "page/model_recorder.h"
#include "platform/platform.h"
#include "report/report.h"
#include "store/text_spool.h"

namespace fs = std::filesystem;

namespace {

const char* const dump_file_name = "my_dungeon.txt";
const char* const objects_file_name = "obj_list.txt";
const char* const script_file_name = "LUA_dungeon.lua";
constexpr std::size_t script_buffer_size = std::size_t{1} << 18;

// The name of a file in a folder that the user named: the folder as written, then the file.
// On Windows, a folder written with backslashes (as the file manager hands it over) is joined
// with one too.
std::string joined_name(const std::string& folder, const char* file)
{
    if (folder.empty()) return file;
    const bool backslashes = fs::path::preferred_separator == '\\' && folder.find('\\') != std::string::npos;
    const char last = folder.back();
    const bool separated = last == '/' || (fs::path::preferred_separator == '\\' && last == '\\');
    return folder + (separated ? "" : backslashes ? "\\" : "/") + file;
}

// The folder name of a file name as the user wrote it ("" for the current folder).
std::string folder_name_of(const std::string& file)
{
    const fs::path parent = path_from_utf8(file).parent_path();
    return utf8_from_path(parent);
}

// Prints the message as program_line gives it and returns the status of a run that converted nothing.
int nothing_converted(std::ostream& err, const std::string& message)
{
    err << program_line(message);
    return status_no_file;
}

// Opens a file to read; on failure, the system's reason.
std::optional<std::string> open_for_reading(std::ifstream& in, const fs::path& path)
{
    std::error_code ignored;
    if (fs::is_directory(path, ignored)) return std::make_error_code(std::errc::is_a_directory).message();
    errno = 0;
    in.open(path, std::ios::binary);
    if (!in.is_open()) return last_system_error();
    return std::nullopt;
}

// True when both names reach one existing file.
bool same_file(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

// A tag that no other run picks at the same time.
std::string unique_tag()
{
    static std::random_device device;
    static std::mt19937_64 generator(device());
    const auto value = generator();
    static const char digits[] = "0123456789abcdef";
    std::string tag;
    for (int shift = 0; shift < 64; shift += 4) tag += digits[(value >> shift) & 15];
    return tag;
}

// Opens a new temporary file beside `target` to write; on failure, the message.
std::optional<std::string> open_temporary(const fs::path& target, const std::string& name, std::ofstream& out,
                                          fs::path& temporary)
{
    for (int attempt = 0; attempt < 16 && !out.is_open(); ++attempt) {
        temporary = temporary_path_for(target, unique_tag());
        std::error_code ignored;
        if (fs::exists(temporary, ignored)) continue;
        errno = 0;
        out.open(temporary, std::ios::binary | std::ios::trunc);
    }
    if (!out.is_open()) return "cannot write " + name + ": " + last_system_error();
    return std::nullopt;
}

// Closes a complete temporary file and renames it onto `target`; on any failure the file that
// was there stays as it was, the temporary file goes, and the message is returned.
std::optional<std::string> close_and_replace(std::ofstream& out, const fs::path& temporary, const fs::path& target,
                                             const std::string& name)
{
    errno = 0;
    out.close();
    std::optional<std::string> failure;
    std::error_code error;
    if (out.fail()) failure = "cannot write " + name + ": " + last_system_error();
    else replace_file(temporary, target, error);
    if (!failure && error) failure = "cannot write " + name + ": " + error.message();
    if (failure) fs::remove(temporary, error);
    remove_on_interrupt({});
    return failure;
}

// The message of a run whose dump is not a dump, with what its text shows.
std::string not_a_dump_failure(const RunFiles& files, const NotADump& why)
{
    return not_a_dump_message(files.dump_name, why);
}

// The message of a run whose waiting statements could not be read back: the script is incomplete.
std::string spool_failure(const std::string& script_name, const SpoolError& error)
{
    return "cannot write " + script_name + ": " + error.what();
}

// Converts to a stream that is not a file of the run's own (standard output, or nowhere when the
// run only checks); the message when the dump is not a dump or the script is incomplete.
std::optional<std::string> convert_to_stream(const RunFiles& files, std::istream& dump, std::ostream& script,
                                             const ObjectList& names, Report& report, ModelRecorder* recorder,
                                             bool writes_script)
{
    try {
        NotADump why;
        if (convert(dump, script, names, report, recorder, &why) == status_no_file) return not_a_dump_failure(files, why);
    } catch (const SpoolError& error) {
        if (!writes_script) return std::string(error.what());
        return spool_failure(files.script_name, error);
    }
    return std::nullopt;
}

// Writes the script to a temporary file beside its place and renames it over the old script
// once it is complete; on any failure (a temporary file of the waiting statements that cannot be
// read back included), and when the dump is not a dump, the old script stays as it was and the
// temporary file goes. The recorder of the map page's model is told of the run when
// given.
std::optional<std::string> write_script_file(const RunFiles& files, std::istream& dump, const ObjectList& names,
                                             Report& report, ModelRecorder* recorder)
{
    fs::path temporary;
    // A large buffer: a script is written in many small pieces.
    std::vector<char> buffer(script_buffer_size);
    std::ofstream script;
    script.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (auto failure = open_temporary(files.script, files.script_name, script, temporary)) return failure;
    remove_on_interrupt(temporary);
    std::optional<std::string> failure;
    try {
        NotADump why;
        if (convert(dump, script, names, report, recorder, &why) == status_no_file) failure = not_a_dump_failure(files, why);
    } catch (const SpoolError& error) {
        failure = spool_failure(files.script_name, error);
    }
    if (failure) {
        script.close();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        remove_on_interrupt({});
        return failure;
    }
    return close_and_replace(script, temporary, files.script, files.script_name);
}

// Fails early, before anything is converted, when the map page's folder takes no new file.
std::optional<std::string> map_folder_problem(const RunFiles& files)
{
    fs::path temporary;
    std::ofstream probe;
    if (auto failure = open_temporary(files.map, files.map_name, probe, temporary)) return failure;
    probe.close();
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return std::nullopt;
}

// Writes the map page completely under a temporary name and renames it onto its place, or to
// standard output.
std::optional<std::string> write_map_file(const RunFiles& files, const DungeonModel& model, std::ostream& out)
{
    if (files.map_to_standard_output) {
        write_map_page(model, out);
        out.flush();
        if (!out) return "cannot write standard output";
        return std::nullopt;
    }
    fs::path temporary;
    std::ofstream page;
    if (auto failure = open_temporary(files.map, files.map_name, page, temporary)) return failure;
    remove_on_interrupt(temporary);
    write_map_page(model, page);
    return close_and_replace(page, temporary, files.map, files.map_name);
}

// The file that the map page would overwrite although the run reads or writes it; none when it is
// free. Names that are one path, or one existing file, count as the same.
std::optional<std::string> map_clash(const RunFiles& files)
{
    const auto same = [&](const fs::path& other) {
        std::error_code ignored;
        return fs::absolute(files.map, ignored).lexically_normal() == fs::absolute(other, ignored).lexically_normal() ||
               same_file(files.map, other);
    };
    if (same(files.dump)) return "the dump";
    if (same(files.objects)) return "the object name list";
    if (!files.script_to_standard_output && same(files.script)) return "the script";
    return std::nullopt;
}

// A stream buffer that takes every byte and keeps none: where a run that writes no file sends its
// script, and a run that prints no messages its report.
class DiscardBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// The object name list of the run; none, with the message, when it cannot be read. A run that
// lists the dump's types needs no list: without one, it lists them all as unknown.
std::optional<ObjectList> object_list_of(const RunFiles& files, bool list_is_optional, std::string& failure)
{
    std::ifstream list;
    if (auto reason = open_for_reading(list, files.objects)) {
        if (list_is_optional) return ObjectList();
        failure = "cannot open " + files.objects_name + ": " + *reason;
        return std::nullopt;
    }
    return ObjectList::read(list);
}

// Replaces the object name list with the list completed by the pairs the dump needs (see
// completed_list); every line of the list stays as it was, and the list is replaced only by the
// complete new one. Says on `out` what was done; the message when the list cannot be written.
std::optional<std::string> update_object_list(const RunFiles& files, const ObjectList& names, std::ostream& out)
{
    std::string bytes;
    std::ifstream old;
    if (!open_for_reading(old, files.objects)) {
        bytes.assign(std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>());
        if (old.bad()) return "cannot read " + files.objects_name + ": " + last_system_error();
        // Windows refuses to replace a file that is still open.
        old.close();
    }
    const CompletedList completed = completed_list(std::move(bytes), names, files.objects_name);
    if (completed.added > 0) {
        fs::path temporary;
        std::ofstream list;
        if (auto failure = open_temporary(files.objects, files.objects_name, list, temporary)) return failure;
        remove_on_interrupt(temporary);
        list.write(completed.bytes.data(), static_cast<std::streamsize>(completed.bytes.size()));
        if (auto failure = close_and_replace(list, temporary, files.objects, files.objects_name)) return failure;
    }
    out << completed.summary << '\n';
    return std::nullopt;
}

} // namespace

RunFiles files_of(const Options& options)
{
    RunFiles files;
    std::string folder;
    if (!options.path) {
        files.dump_name = dump_file_name;
    } else {
        std::error_code ignored;
        if (fs::is_directory(path_from_utf8(*options.path), ignored)) {
            folder = *options.path;
            files.dump_name = joined_name(folder, dump_file_name);
        } else {
            files.dump_name = *options.path;
            folder = folder_name_of(*options.path);
        }
    }
    files.objects_name = options.objects ? *options.objects : joined_name(folder, objects_file_name);
    files.script_name = options.output ? *options.output : joined_name(folder, script_file_name);
    files.script_to_standard_output = files.script_name == "-";
    if (files.script_to_standard_output) {
        files.script_name = "standard output";
    } else if (options.output) {
        std::error_code ignored;
        if (fs::is_directory(path_from_utf8(*options.output), ignored))
            files.script_name = joined_name(*options.output, script_file_name);
    }
    if (options.map) {
        files.map_to_standard_output = *options.map == "-";
        files.map_name = files.map_to_standard_output ? "standard output" : *options.map;
        if (!files.map_to_standard_output) files.map = path_from_utf8(files.map_name);
    }
    files.dump = path_from_utf8(files.dump_name);
    files.objects = path_from_utf8(files.objects_name);
    if (!files.script_to_standard_output) files.script = path_from_utf8(files.script_name);
    return files;
}

fs::path temporary_path_for(const fs::path& target, const std::string& tag)
{
    return target.parent_path() / path_from_utf8("." + utf8_from_path(target.filename()) + "." + tag + ".tmp");
}

int run_with_options(const Options& options, std::ostream& out, std::ostream& err)
{
    if (options.help) {
        out << usage_text();
        return 0;
    }
    if (options.version) {
        out << version_text();
        return 0;
    }
    const RunFiles files = files_of(options);
    Report report(files.dump_name, files.objects_name);
    report.set_policy(options.messages);
    // A run that stops before or after converting: its messages so far, then the line that says why.
    const auto stopped = [&](const std::string& message) {
        if (options.json_messages) {
            write_messages_json(err, report, status_no_file, message);
            return status_no_file;
        }
        write_messages(err, report, options.all_messages, false);
        return nothing_converted(err, message);
    };
    // --check, --list-types and --update-list write no script; the last two alone print no messages.
    const bool lists_only = options.list_types || options.update_list;
    const bool writes_script = !options.check && !lists_only;
    const bool prints_messages = writes_script || options.check;
    if (writes_script && !files.script_to_standard_output) {
        if (same_file(files.script, files.dump))
            return stopped("the script " + files.script_name + " would replace the dump");
        if (same_file(files.script, files.objects))
            return stopped("the script " + files.script_name + " would replace the object name list");
    }
    if (!files.map.empty()) {
        if (auto clash = map_clash(files)) return stopped("the map page " + files.map_name + " would replace " + *clash);
        if (auto failure = map_folder_problem(files)) return stopped(*failure);
    }
    std::ifstream dump;
    if (auto reason = open_for_reading(dump, files.dump))
        return stopped("cannot open " + files.dump_name + ": " + *reason);
    std::string list_failure;
    // Listing the types, or completing the list, needs no list; a check needs one as a conversion does.
    const std::optional<ObjectList> names = object_list_of(files, lists_only && !options.check, list_failure);
    if (!names) return stopped(list_failure);
    if (options.update_list)
        if (auto refusal = completion_refusal(*names, files.objects_name)) return stopped(*refusal);

    // Only a run that writes a page or prints every message keeps them all; one that prints the
    // usual lines keeps what they show of each kind, so a dump with very many problems holds few.
    std::optional<ModelRecorder> recorder;
    if (options.map) recorder.emplace(files.dump_name);
    if (!recorder && !options.all_messages && !options.json_messages) report.keep_only_printed();
    DiscardBuffer discarding;
    std::ostream discarded(&discarding);
    std::optional<std::string> failure;
    if (!writes_script) {
        failure = convert_to_stream(files, dump, discarded, *names, report, nullptr, false);
    } else if (files.script_to_standard_output) {
        set_binary_standard_output();
        failure = convert_to_stream(files, dump, out, *names, report, recorder ? &*recorder : nullptr, true);
        out.flush();
        if (!failure && !out) failure = "cannot write standard output";
    } else {
        failure = write_script_file(files, dump, *names, report, recorder ? &*recorder : nullptr);
    }
    // The messages of a run that prints none are not shown; those about the lists themselves are.
    Report list_notes(files.dump_name, files.objects_name);
    list_notes.set_policy(options.messages);
    Report& notes = prints_messages ? report : list_notes;
    if (!failure && options.list_types) {
        // The shell empties a file that standard output goes to before the program starts.
        if (standard_output_is(files.objects)) {
            Problem emptied(MessageId::list_emptied,
                            "standard output is the object name list, which the shell emptied before it was read: "
                            "pairs it held are lost; --update-list completes a list");
            emptied.file = ProblemFile::object_list;
            notes.add(0, emptied);
        }
        out << looked_up_pairs_text(*names);
        out.flush();
        if (!failure && !out) failure = "cannot write standard output";
    }
    if (!failure && options.update_list) failure = update_object_list(files, *names, out);
    if (!failure && recorder) failure = write_map_file(files, recorder->take_model(report), out);
    if (failure) return stopped(*failure);
    const int status = prints_messages ? converted_status(report, options.strict) : 0;
    if (options.json_messages) write_messages_json(err, notes, status, std::nullopt);
    else write_messages(err, notes, options.all_messages, prints_messages);
    return status;
}

int run_command_line(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const ParsedOptions parsed = parse_options(arguments);
    if (parsed.error) {
        if (!parsed.options.json_messages) return nothing_converted(err, *parsed.error);
        write_messages_json(err, Report(), status_no_file, *parsed.error);
        return status_no_file;
    }
    return run_with_options(parsed.options, out, err);
}
