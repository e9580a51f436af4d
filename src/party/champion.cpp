#include "party/champion.h"

std::optional<std::string> make_char(std::string line, Problems& problems)
{
    (void)line;
    problems.push_back("champion lines are not converted yet");
    return std::nullopt;
}
