// The line reader: line ends, the last line without one, and a byte-order mark at the start.

#include <gtest/gtest.h>

#include <sstream>

#include "store/line_reader.h"

TEST(LineReader, GivesTheLinesWithoutLineEndsOrAByteOrderMarkAtTheStart)
{
    using Lines = std::vector<std::string>;
    const struct {
        std::string input;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"\xEF\xBB\xBF[Main Data]\r\nx\n", {"[Main Data]", "x"}},
        {"\xEF\xBB\xBF", {""}},
        // Only the start of the input holds a mark; later ones, and a cut one, are text.
        {"a\n\xEF\xBB\xBFz\n", {"a", "\xEF\xBB\xBFz"}},
        {"\xEF\xBB[Layout]\n", {"\xEF\xBB[Layout]"}},
        {"\xEF\xBB\xBF\xEF\xBB\xBFx\n", {"\xEF\xBB\xBFx"}},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.input);
        LineReader reader(in);
        Lines lines;
        for (std::string line; reader.next(line);) lines.push_back(line);
        EXPECT_EQ(lines, c.lines) << c.input;
        EXPECT_EQ(reader.line_number(), static_cast<long>(c.lines.size())) << c.input;
    }
}
