#include "store/text_spool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace {

// The message of a temporary file that gave back less than was written to it.
SpoolError read_failure(std::FILE* file)
{
    const int error = errno;
    std::string reason = "it ends early";
    if (std::ferror(file) && error != 0) reason = std::generic_category().message(error);
    return SpoolError("a temporary file of the waiting statements cannot be read back: " + reason);
}

// Every spool's maker of temporary files, unless given one.
TextSpool::FileMaker& file_maker()
{
    static TextSpool::FileMaker maker = &std::tmpfile;
    return maker;
}

} // namespace

TextSpool::FileMaker TextSpool::spool_file_maker() { return file_maker(); }

void TextSpool::set_spool_file_maker(FileMaker make_file) { file_maker() = make_file; }

TextSpool::TextSpool(std::size_t block_size, FileMaker make_file)
    : block_size_(std::max<std::size_t>(block_size, 1)), make_file_(make_file)
{
}

void TextSpool::append(std::string_view text)
{
    while (!text.empty()) {
        // Not zeroed: the system gives the pages memory only once they are written.
        if (!block_) block_.reset(new char[block_size_]);
        const std::size_t part = std::min(text.size(), block_size_ - used_);
        std::memcpy(block_.get() + used_, text.data(), part);
        used_ += part;
        text.remove_prefix(part);
        if (used_ == block_size_) move_block_out();
    }
}

void TextSpool::append_record(std::string_view text)
{
    // The length in groups of seven bits, lowest first, the high bit marking that more follow: one
    // byte for a statement shorter than 128 bytes, and no limit on a text's length.
    char length[10];
    std::size_t count = 0;
    std::uint64_t left = text.size();
    do {
        const auto group = static_cast<unsigned char>(left & 0x7F);
        left >>= 7;
        length[count++] = static_cast<char>(left != 0 ? group | 0x80 : group);
    } while (left != 0);
    append({length, count});
    append(text);
}

std::FILE* TextSpool::file_to_write()
{
    if (reading_ || file_failed_) return nullptr;
    if (!file_tried_) {
        file_tried_ = true;
        file_.reset(make_file_ ? make_file_() : nullptr);
        // Unbuffered: a block is written in one call, and a failed write is known at once.
        if (file_ && std::setvbuf(file_.get(), nullptr, _IONBF, 0) != 0) file_.reset();
        if (!file_) file_failed_ = true;
    }
    return file_.get();
}

void TextSpool::move_block_out()
{
    if (std::FILE* file = file_to_write()) {
        if (std::fwrite(block_.get(), 1, used_, file) == used_) {
            file_bytes_ += used_;
            used_ = 0;
            return;
        }
        // The file keeps what it took, but only file_bytes_ of it are ever read back.
        file_failed_ = true;
    }
    kept_.push_back({std::move(block_), used_});
    kept_bytes_ += used_;
    used_ = 0;
}

void TextSpool::write_to(std::ostream& out)
{
    Reader reader(*this);
    for (std::string_view piece = reader.next_piece(); !piece.empty(); piece = reader.next_piece())
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
}

TextSpool::Reader::Reader(TextSpool& spool) : spool_(spool), file_left_(spool.file_bytes_)
{
    spool_.reading_ = true;
    if (file_left_ > 0) {
        std::rewind(spool_.file_.get());
        buffer_.reset(new char[spool_.block_size_]);
    }
}

bool TextSpool::Reader::load_piece()
{
    if (file_left_ > 0) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(file_left_, spool_.block_size_));
        std::FILE* file = spool_.file_.get();
        errno = 0;
        if (std::fread(buffer_.get(), 1, size, file) != size) throw read_failure(file);
        file_left_ -= size;
        piece_ = {buffer_.get(), size};
        return true;
    }
    if (next_kept_ < spool_.kept_.size()) {
        const Block& block = spool_.kept_[next_kept_++];
        piece_ = {block.bytes.get(), block.used};
        return true;
    }
    if (!last_block_read_ && spool_.used_ > 0) {
        last_block_read_ = true;
        piece_ = {spool_.block_.get(), spool_.used_};
        return true;
    }
    return false;
}

std::string_view TextSpool::Reader::next_piece()
{
    if (piece_.empty() && !load_piece()) return {};
    const std::string_view piece = piece_;
    piece_ = {};
    return piece;
}

std::string_view TextSpool::Reader::take(std::size_t length)
{
    if (piece_.size() >= length) {
        const std::string_view text = piece_.substr(0, length);
        piece_.remove_prefix(length);
        return text;
    }
    joined_.clear();
    while (joined_.size() < length) {
        if (piece_.empty() && !load_piece())
            throw SpoolError("a temporary file of the waiting statements cannot be read back: it ends early");
        const std::size_t part = std::min(piece_.size(), length - joined_.size());
        joined_.append(piece_.data(), part);
        piece_.remove_prefix(part);
    }
    return joined_;
}

std::string_view TextSpool::Reader::next_record()
{
    std::uint64_t length = 0;
    for (int shift = 0;; shift += 7) {
        if (shift > 63) throw SpoolError("a record of the waiting statements is damaged");
        const auto byte = static_cast<unsigned char>(take(1)[0]);
        length |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
    }
    if (length > spool_.size()) throw SpoolError("a record of the waiting statements is damaged");
    return take(static_cast<std::size_t>(length));
}
