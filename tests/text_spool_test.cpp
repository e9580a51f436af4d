// The spool of the texts that wait for the end of the input: every byte comes back in order,
// from the temporary file or from memory, and a file that gives back less is reported.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "store/text_spool.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// A text of that length whose bytes tell where they stand, so that a byte out of place shows.
std::string text_of_length(std::size_t length, std::size_t seed)
{
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('a' + (seed * 7 + i) % 26);
    return text;
}

// Records of every length from empty to several blocks, appended and read back one by one.
std::vector<std::string> records_up_to(std::size_t longest)
{
    std::vector<std::string> records;
    for (std::size_t length = 0; length <= longest; ++length) records.push_back(text_of_length(length, records.size()));
    // A length of two bytes: 300 is written as 0xAC 0x02.
    records.push_back(text_of_length(300, 1));
    return records;
}

void expect_records_back(TextSpool& spool, const std::vector<std::string>& records)
{
    TextSpool::Reader reader(spool);
    for (std::size_t i = 0; i < records.size(); ++i) ASSERT_EQ(reader.next_record(), records[i]) << "record " << i;
    EXPECT_TRUE(reader.next_piece().empty());
}

std::string written(TextSpool& spool)
{
    std::ostringstream out;
    spool.write_to(out);
    return out.str();
}

// A file that takes 40 bytes and then no more.
char small_memory[40];
std::FILE* file_of_forty_bytes() { return fmemopen(small_memory, sizeof small_memory, "w+"); }
std::FILE* no_file() { return nullptr; }
// A file that takes every write and fails every read.
fs::path write_only_path;
std::FILE* write_only_file() { return std::fopen(write_only_path.c_str(), "wb"); }
// A real file that a test cuts short before it is read.
fs::path named_path;
std::FILE* named_file() { return std::fopen(named_path.c_str(), "w+b"); }

} // namespace

TEST(TextSpool, RecordsOfEveryLengthComeBackAcrossBlocksAndTheFile)
{
    const auto records = records_up_to(50);
    TextSpool spool(16);
    for (const auto& record : records) spool.append_record(record);
    EXPECT_GT(spool.spooled(), 0u);
    EXPECT_LT(spool.size() - spool.spooled(), 16u);
    expect_records_back(spool, records);
    // A second reading begins again at the start.
    expect_records_back(spool, records);
}

TEST(TextSpool, TextsComeBackWholeInTheOrderAppended)
{
    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{64}, TextSpool::default_block_size}) {
        TextSpool spool(block);
        std::string all;
        for (std::size_t i = 0; i < 200; ++i) {
            const std::string text = text_of_length(i % 23 == 0 ? 150 : i % 11, i);
            spool.append(text);
            all += text;
        }
        EXPECT_EQ(spool.size(), all.size());
        EXPECT_EQ(written(spool), all) << "block of " << block;
    }
    TextSpool empty(16);
    EXPECT_EQ(written(empty), "");
    TextSpool::Reader reader(empty);
    EXPECT_THROW(reader.next_record(), SpoolError);
}

TEST(TextSpool, WithoutATemporaryFileEveryBlockStaysInMemory)
{
    const auto records = records_up_to(40);
    TextSpool spool(8, &no_file);
    for (const auto& record : records) spool.append_record(record);
    EXPECT_EQ(spool.spooled(), 0u);
    expect_records_back(spool, records);
}

TEST(TextSpool, AFileThatStopsTakingBlocksLosesNone)
{
    // Two blocks of 16 fit, the third is taken only in part: it and all later ones stay in memory.
    const auto records = records_up_to(30);
    TextSpool spool(16, &file_of_forty_bytes);
    for (const auto& record : records) spool.append_record(record);
    EXPECT_EQ(spool.spooled(), 32u);
    expect_records_back(spool, records);
}

TEST(TextSpool, AFileThatCannotBeReadBackIsReported)
{
    write_only_path = scratch_folder() / "write_only";
    TextSpool spool(16, &write_only_file);
    spool.append(text_of_length(100, 3));
    ASSERT_GT(spool.spooled(), 0u);
    std::ostringstream out;
    try {
        spool.write_to(out);
        FAIL() << "no failure reported";
    } catch (const SpoolError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("a temporary file of the waiting statements cannot be read back: ", 0), 0u)
            << error.what();
    }
}

TEST(TextSpool, AFileThatComesShortIsReported)
{
    named_path = scratch_folder() / "spool";
    TextSpool spool(16, &named_file);
    spool.append_record(text_of_length(20, 1));
    spool.append_record(text_of_length(60, 2));
    ASSERT_EQ(spool.spooled(), 80u);
    fs::resize_file(named_path, 32);
    TextSpool::Reader reader(spool);
    EXPECT_EQ(reader.next_record(), text_of_length(20, 1));
    try {
        reader.next_record();
        FAIL() << "no failure reported";
    } catch (const SpoolError& error) {
        EXPECT_STREQ(error.what(), "a temporary file of the waiting statements cannot be read back: it ends early");
    }
}

namespace {

// A file in memory whose second write takes nothing and whose other writes are taken. (It takes
// nothing rather than failing with -1: glibc mishandles -1 from such a file's writer.)
struct FlakyFile {
    std::string bytes;
    std::size_t at = 0;
    int writes = 0;
};
FlakyFile flaky;
std::FILE* flaky_file()
{
    flaky = FlakyFile{};
    cookie_io_functions_t functions{};
    functions.write = [](void*, const char* data, std::size_t size) -> ssize_t {
        if (++flaky.writes == 2) return 0;
        flaky.bytes.replace(flaky.at, std::min(size, flaky.bytes.size() - flaky.at), data, size);
        flaky.at += size;
        return static_cast<ssize_t>(size);
    };
    functions.read = [](void*, char* data, std::size_t size) -> ssize_t {
        const std::size_t part = std::min(size, flaky.bytes.size() - flaky.at);
        flaky.bytes.copy(data, part, flaky.at);
        flaky.at += part;
        return static_cast<ssize_t>(part);
    };
    functions.seek = [](void*, off64_t* offset, int whence) -> int {
        flaky.at = static_cast<std::size_t>(*offset + (whence == SEEK_CUR ? static_cast<off64_t>(flaky.at)
                                                     : whence == SEEK_END ? static_cast<off64_t>(flaky.bytes.size()) : 0));
        *offset = static_cast<off64_t>(flaky.at);
        return 0;
    };
    return fopencookie(nullptr, "w+", functions);
}

} // namespace

TEST(TextSpool, EdgesOfTheSpoolKeepEveryByteInOrder)
{
    // A block size of 0 is taken as 1.
    TextSpool tiny(0, &no_file);
    tiny.append("abc");
    EXPECT_EQ(written(tiny), "abc");

    // A file that fails once keeps only what it took before; the later blocks stay in memory.
    const auto records = records_up_to(30);
    TextSpool spool(16, &flaky_file);
    for (const auto& record : records) spool.append_record(record);
    EXPECT_EQ(spool.spooled(), 16u);
    EXPECT_EQ(flaky.writes, 2);
    expect_records_back(spool, records);

    // What is appended once reading has begun stays in memory and comes after the rest.
    named_path = scratch_folder() / "spool";
    TextSpool late(4, &named_file);
    late.append("abcdefgh");
    TextSpool::Reader reader(late);
    EXPECT_EQ(reader.take(2), "ab");
    late.append("ijklmnop");
    EXPECT_EQ(late.spooled(), 8u);
    std::string rest;
    for (std::string_view piece = reader.next_piece(); !piece.empty(); piece = reader.next_piece()) rest += piece;
    EXPECT_EQ(rest, "cdefghijklmnop");
    EXPECT_EQ(written(late), "abcdefghijklmnop");

    // A length longer than the spool, or of more than ten bytes, is a damaged record.
    for (const std::string& damaged : {std::string("\x7f" "abc"), std::string(10, '\xff') + "\x01"}) {
        TextSpool spool_of_damage(16, &no_file);
        spool_of_damage.append(damaged);
        TextSpool::Reader damaged_reader(spool_of_damage);
        try {
            damaged_reader.next_record();
            ADD_FAILURE() << "no failure reported";
        } catch (const SpoolError& error) {
            EXPECT_STREQ(error.what(), "a record of the waiting statements is damaged");
        }
    }
}
