#include "conversion/list_completion.h"

#include <vector>

#include "report/report.h"
#include "sections/dump_headers.h"
#include "text/utf8.h"

namespace {

// The line end that a list uses: "\r\n" when its first line ends so, "\n" otherwise.
std::string line_end_of(std::string_view bytes)
{
    const std::size_t end = bytes.find('\n');
    return end != std::string_view::npos && end > 0 && bytes[end - 1] == '\r' ? "\r\n" : "\n";
}

} // namespace

std::optional<HeaderInList> header_in_list(const ObjectList& list)
{
    for (const ListPair& pair : list.pairs()) {
        if (header_of(pair.type) != Header::none) return HeaderInList{pair.type, pair.type_line, pair.type_column};
        if (header_of(pair.name) != Header::none) return HeaderInList{pair.name, pair.name_line, pair.name_column};
    }
    return std::nullopt;
}

std::optional<std::string> completion_refusal(const ObjectList& list, const std::string& list_name)
{
    const std::string start = "the object name list " + list_name;
    const std::string_view check = " (dungeon2lua --check names the word)";
    if (!list.wide_encoding().empty())
        return start + " is " + std::string(list.wide_encoding()) +
               " text, to which pairs cannot be added; it is left as it is: " + std::string(wide_encoding_advice);
    if (list.has_odd_words())
        return start + " has an odd number of words, so pairs added at its end would pair up one word off; it is left "
                       "as it is" + std::string(check);
    if (const auto header = header_in_list(list))
        return start + " holds the header " + quoted(header->word) +
               ": it is a dungeon dump, whose sections pairs added at its end would change; it is left as it is";
    return std::nullopt;
}

CompletedList completed_list(std::string bytes, const ObjectList& list, const std::string& list_name)
{
    std::vector<const std::string*> missing;
    for (const std::string& word : list.looked_up())
        if (!list.names_type(word)) missing.push_back(&word);
    CompletedList completed;
    completed.added = missing.size();
    if (missing.empty()) {
        completed.bytes = std::move(bytes);
        completed.summary = list_name + ": no pair added: the list names every type the dump looks up";
        return completed;
    }
    const std::string end = line_end_of(bytes);
    if (!bytes.empty() && bytes.back() != '\n') bytes += end;
    bytes += "# added by dungeon2lua --update-list: replace each X_UNKNOWN with the target engine's object name" + end;
    for (const std::string* word : missing) bytes += *word + " X_UNKNOWN" + end;
    completed.bytes = std::move(bytes);
    const bool one = missing.size() == 1;
    completed.summary = list_name + ": " + std::to_string(missing.size()) + (one ? " pair" : " pairs") +
                        " added; each X_UNKNOWN waits for the target engine's object name";
    return completed;
}
