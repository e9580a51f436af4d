#include "report/messages.h"

#include <algorithm>

std::optional<MessageId> message_named(std::string_view name)
{
    const auto found = std::find_if(std::begin(message_kinds), std::end(message_kinds),
                                    [&](const MessageKind& kind) { return kind.name == name; });
    if (found == std::end(message_kinds)) return std::nullopt;
    return found->id;
}

std::string message_table_markdown()
{
    std::string table = "| name | severity | what it reports | example |\n|---|---|---|---|\n";
    for (const MessageKind& kind : message_kinds) {
        const bool error = kind.severity == Severity::error;
        table += "| `" + std::string(error ? "" : "-W") + std::string(kind.name) + "` | " +
                 (error ? "error" : "warning") + " | " + std::string(kind.description) + " | `" +
                 std::string(kind.example) + (error ? " [" : " [-W") + std::string(kind.name) + "]` |\n";
    }
    return table;
}
