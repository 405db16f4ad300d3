// Work-file streams; see streams.h.
#include "streams.h"

#include <cerrno>
#include <cstring>

#include "base/files.h"
#include "base/numbers.h"
#include "base/message.h"

namespace vornelle {
namespace {
constexpr size_t kSize = 1 << 20;
}

PatternWriter::~PatternWriter() {
    if (file_) std::fclose(file_);
}

Status PatternWriter::open(const std::string& path) {
    path_ = path;
    file_ = openFile(path, "wb");
    if (!file_)
        return Status::failure("Impossible de créer le fichier " + path + " : " + systemReason(errno));
    std::setvbuf(file_, nullptr, _IONBF, 0);
    buffer_ = std::make_unique_for_overwrite<char[]>(kSize);
    return Status::success();
}

void PatternWriter::flush() {
    if (used_ == 0) return;
    if (error_.empty() && !writeBytes(file_, path_, buffer_.get(), used_))
        error_ = "Erreur d'écriture du fichier " + path_ + " : " + systemReason(errno);
    written_ += used_;
    used_ = 0;
}

void PatternWriter::append(std::string_view b) {
    if (used_ + b.size() > kSize) flush();
    if (b.size() > kSize) {
        if (error_.empty() && !writeBytes(file_, path_, b.data(), b.size()))
            error_ = "Erreur d'écriture du fichier " + path_ + " : " + systemReason(errno);
        written_ += b.size();
        return;
    }
    std::memcpy(buffer_.get() + used_, b.data(), b.size());
    used_ += b.size();
}

void PatternWriter::repeat(std::string_view p, uint64_t count) {
    const size_t len = p.size();
    while (count > 0) {
        size_t room = (kSize - used_) / len;
        if (room == 0) {
            flush();
            continue;
        }
        size_t n = count < room ? static_cast<size_t>(count) : room;
        char* out = buffer_.get() + used_;
        // Copy once, then double the filled part: few calls for long runs.
        std::memcpy(out, p.data(), len);
        size_t filled = len, total = n * len;
        while (filled < total) {
            size_t c = filled < total - filled ? filled : total - filled;
            std::memcpy(out + filled, out, c);
            filled += c;
        }
        used_ += total;
        count -= n;
    }
}

Status PatternWriter::close() {
    if (!file_) return Status::failure(error_);
    flush();
    if (std::fclose(file_) != 0 && error_.empty())
        error_ = "Erreur d'écriture du fichier " + path_ + " : " + systemReason(errno);
    file_ = nullptr;
    return Status::failure(error_);
}

FieldStream::~FieldStream() {
    if (file_) std::fclose(file_);
}

Status FieldStream::open(const std::string& path) {
    path_ = path;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return Status::failure("Impossible de lire le fichier " + path + " : " + std::strerror(errno));
    std::setvbuf(file_, nullptr, _IONBF, 0);
    buffer_ = std::make_unique_for_overwrite<char[]>(kSize);
    return Status::success();
}

// Keeps at least `need` bytes ahead when the file has them.
bool FieldStream::fill(size_t need) {
    if (end_ - pos_ >= need) return true;
    if (eof_) return end_ > pos_;
    std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < need && !eof_) {
        size_t n = std::fread(buffer_.get() + end_, 1, kSize - end_, file_);
        if (n == 0) {
            eof_ = true;
            if (std::ferror(file_))
                error_ = "Erreur de lecture du fichier " + path_ + " : " + std::strerror(errno);
        }
        end_ += n;
    }
    return end_ > pos_;
}

bool FieldStream::atEnd() {
    for (;;) {
        if (!fill(1)) return true;
        char c = buffer_[pos_];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
        ++pos_;
    }
}

bool FieldStream::slowNext(double& value) {
    // Refill and retry the short forms before the general rules.
    if (end_ - pos_ < 5 && !eof_) {
        fill(kSize / 2);
        if (end_ - pos_ >= 5) return next(value);
    }
    std::string field;
    auto peek = [this]() -> int { return fill(1) ? static_cast<unsigned char>(buffer_[pos_]) : -1; };
    int c = peek();
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++pos_;
        c = peek();
    }
    if (c < 0) {
        if (error_.empty()) error_ = "fin du fichier " + path_ + " atteinte";
        return false;
    }
    bool quoted = c == '"';
    if (quoted) {
        ++pos_;
        while ((c = peek()) >= 0 && c != '"') {
            field += static_cast<char>(c);
            ++pos_;
        }
        if (c < 0) {
            error_ = "texte entre guillemets non fermé dans " + path_;
            return false;
        }
        ++pos_;
    }
    while ((c = peek()) >= 0) {
        ++pos_;
        if (c == ',' || c == '\n') break;
        if (c == '\r') {
            if (peek() == '\n') ++pos_;
            break;
        }
        if (!quoted) field += static_cast<char>(c);
    }
    ++record_;
    auto v = leadingNumber(field);
    if (!v) {
        error_ = "valeur " + quotedText(field) + " hors limites dans " + path_;
        return false;
    }
    value = *v;
    return true;
}

}  // namespace vornelle
