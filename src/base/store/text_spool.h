#pragma once
// Texts that wait for the end of the input, kept mostly in an unnamed temporary file.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Thrown when texts moved into a temporary file cannot be read back whole: the script they belong
// to cannot be written.
class SpoolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Texts appended one after the other and read back, in the order appended, once the input is read.
// Only the block being filled stays in memory: each full block moves into an unnamed temporary file
// that the system deletes when it is closed, so a large dump's statements need not all fit in
// memory at once. When no temporary file can be made, or a write to it fails, the blocks stay in
// memory from then on: nothing is lost, only more memory is used.
class TextSpool {
public:
    // Makes the temporary file; null when none can be made.
    using FileMaker = std::FILE* (*)();
    // The bytes a spool keeps in memory while appending: a block moves out in one write of the
    // system, and the fourteen spools of the item lists with a reader keep under 4 MB in all.
    static constexpr std::size_t default_block_size = std::size_t{1} << 18;

    explicit TextSpool(std::size_t block_size = default_block_size, FileMaker make_file = spool_file_maker());

    // What makes the temporary files of the spools made from now on: std::tmpfile, unless a test
    // of a failing file sets another.
    static FileMaker spool_file_maker();
    static void set_spool_file_maker(FileMaker make_file);

    // Appends the text after those appended before.
    void append(std::string_view text);
    // Appends the text as a record: its length first, so that a reader gives it back by itself.
    void append_record(std::string_view text);
    // Writes every appended byte in order. Throws SpoolError when the temporary file fails.
    void write_to(std::ostream& out);

    // The number of bytes appended, records' lengths included.
    std::uint64_t size() const { return file_bytes_ + kept_bytes_ + used_; }
    // The number of bytes that moved into the temporary file.
    std::uint64_t spooled() const { return file_bytes_; }

    // Reads a spool back from its start, a piece at a time. One reader of a spool at a time; the
    // texts appended once reading has begun stay in memory.
    class Reader {
    public:
        explicit Reader(TextSpool& spool);
        // The next `length` bytes, valid until the next call. Throws SpoolError when fewer remain.
        std::string_view take(std::size_t length);
        // The next record that append_record appended. Throws SpoolError when it is not all there.
        std::string_view next_record();
        // The bytes up to the end of the next piece (empty at the end), valid until the next call.
        std::string_view next_piece();

    private:
        // Moves to the next piece; false at the end.
        bool load_piece();

        TextSpool& spool_;
        std::uint64_t file_left_;
        // The blocks kept in memory that follow the current piece; then the block being filled.
        std::size_t next_kept_ = 0;
        bool last_block_read_ = false;
        // What is left of the current piece.
        std::string_view piece_;
        // The piece read from the temporary file, and a text that spans pieces.
        std::unique_ptr<char[]> buffer_;
        std::string joined_;
    };

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
    };

    // Moves the full block into the temporary file, or else keeps it in memory.
    void move_block_out();
    // The temporary file, made when first needed; null when it cannot be made or has failed.
    std::FILE* file_to_write();

    std::size_t block_size_;
    FileMaker make_file_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    // True once the file was made or found impossible, and once it failed to take a block.
    bool file_tried_ = false;
    bool file_failed_ = false;
    // True once a reader has begun: from then on the file is only read.
    bool reading_ = false;
    std::uint64_t file_bytes_ = 0;
    // The blocks kept in memory since the file failed, in order; they follow the file's bytes.
    std::vector<Block> kept_;
    std::uint64_t kept_bytes_ = 0;
    // The block being filled, after all the others; allocated on the first append.
    std::unique_ptr<char[]> block_;
    std::size_t used_ = 0;
};
