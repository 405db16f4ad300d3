// Comma-delimited field reader and writer; see fields.h.
#include "fields.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "cp1252.h"
#include "files.h"
#include "numbers.h"

namespace vornelle {
namespace {
constexpr size_t kBufferSize = 1 << 20;
constexpr size_t kFlushAt = 1 << 20;

std::string systemError() {
    return systemReason(errno);
}
}  // namespace

FieldReader::FieldReader(std::string_view text) : pos_(text.data()), end_(text.data() + text.size()) {}

Outcome<FieldReader> FieldReader::open(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Failure{"Impossible d'ouvrir le fichier " + path + " : " + systemError()};
    FieldReader r;
    r.file_ = f;
    r.path_ = path;
    // Not zeroed: only what fread fills is read, and zeroing a megabyte costs more than a small file.
    r.buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
    r.pos_ = r.end_ = r.buffer_.get();
    return r;
}

FieldReader::FieldReader(FieldReader&& o) noexcept {
    *this = std::move(o);
}

FieldReader& FieldReader::operator=(FieldReader&& o) noexcept {
    if (this != &o) {
        if (file_) std::fclose(file_);
        file_ = o.file_;
        o.file_ = nullptr;
        path_ = std::move(o.path_);
        buffer_ = std::move(o.buffer_);
        pos_ = o.pos_;
        end_ = o.end_;
        line_ = o.line_;
        error_ = std::move(o.error_);
        tooLong_ = o.tooLong_;
    }
    return *this;
}

FieldReader::~FieldReader() {
    if (file_) std::fclose(file_);
}

bool FieldReader::fill() {
    if (!file_) return false;
    size_t n = std::fread(buffer_.get(), 1, kBufferSize, file_);
    if (n == 0) {
        if (std::ferror(file_)) error_ = "Erreur de lecture du fichier " + path_ + " : " + systemError();
        return false;
    }
    pos_ = buffer_.get();
    end_ = pos_ + n;
    return true;
}

inline int FieldReader::peek() {
    if (pos_ == end_ && !fill()) return -1;
    return static_cast<unsigned char>(*pos_);
}

inline int FieldReader::get() {
    if (pos_ == end_ && !fill()) return -1;
    return static_cast<unsigned char>(*pos_++);
}

bool FieldReader::atEnd() {
    for (;;) {
        int c = peek();
        if (c < 0) return true;
        if (c == ' ' || c == '\t' || c == '\r') {
            ++pos_;
        } else if (c == '\n') {
            ++pos_;
            ++line_;
        } else {
            return false;
        }
    }
}

bool FieldReader::tooLong() {
    tooLong_ = true;
    error_ = "Champ de plus de 1 Mo ligne " + std::to_string(line_) + " : le fichier est endommagé";
    return false;
}

bool FieldReader::next(std::string& out) {
    out.clear();
    int c = peek();
    while (c == ' ' || c == '\t') {
        ++pos_;
        c = peek();
    }
    // An empty line still holds no field: skip it, a record may span line breaks.
    while (c == '\r' || c == '\n') {
        if (c == '\n') ++line_;
        ++pos_;
        c = peek();
        while (c == ' ' || c == '\t') {
            ++pos_;
            c = peek();
        }
    }
    if (c < 0) {
        if (error_.empty()) error_ = "Fin de fichier atteinte avant la fin d'un enregistrement";
        return false;
    }
    if (c == '"') {
        ++pos_;
        for (;;) {
            c = get();
            if (c < 0) {
                if (error_.empty()) error_ = "Fin de fichier atteinte dans un texte entre guillemets";
                return false;
            }
            if (c == '"') break;
            if (c == '\n') ++line_;
            out += static_cast<char>(c);
            if (out.size() > kMaxField) return tooLong();
        }
        if (!isAscii(out)) out = cp1252ToUtf8(out);
        // Skip whatever follows the closing quote up to the delimiter.
        for (;;) {
            c = peek();
            if (c < 0) return true;
            ++pos_;
            if (c == ',') return true;
            if (c == '\n') {
                ++line_;
                return true;
            }
            if (c == '\r') {
                if (peek() == '\n') {
                    ++pos_;
                    ++line_;
                }
                return true;
            }
        }
    }
    for (;;) {
        c = peek();
        if (c < 0) break;
        ++pos_;
        if (c == ',') break;
        if (c == '\n') {
            ++line_;
            break;
        }
        if (c == '\r') {
            if (peek() == '\n') {
                ++pos_;
                ++line_;
            }
            break;
        }
        out += static_cast<char>(c);
        if (out.size() > kMaxField) return tooLong();
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
    if (!isAscii(out)) out = cp1252ToUtf8(out);
    return true;
}

FieldWriter::FieldWriter() = default;

Outcome<FieldWriter> FieldWriter::append(const std::string& path) {
    std::FILE* f = openFile(path, "ab");
    if (!f) return Failure{"Impossible d'écrire le fichier " + path + " : " + systemError()};
    FieldWriter w;
    w.file_ = f;
    w.path_ = path;
    w.buffer_.reserve(kFlushAt + 4096);
    return w;
}

FieldWriter::FieldWriter(FieldWriter&& o) noexcept {
    *this = std::move(o);
}

FieldWriter& FieldWriter::operator=(FieldWriter&& o) noexcept {
    if (this != &o) {
        if (file_) std::fclose(file_);
        file_ = o.file_;
        o.file_ = nullptr;
        path_ = std::move(o.path_);
        buffer_ = std::move(o.buffer_);
        fieldOnLine_ = o.fieldOnLine_;
        error_ = std::move(o.error_);
    }
    return *this;
}

FieldWriter::~FieldWriter() {
    if (file_) close();
}

void FieldWriter::separate() {
    if (fieldOnLine_) buffer_ += ',';
    fieldOnLine_ = true;
}

void FieldWriter::text(std::string_view t) {
    separate();
    buffer_ += '"';
    if (isAscii(t))
        buffer_ += t;
    else
        buffer_ += utf8ToCp1252(t);
    buffer_ += '"';
}

void FieldWriter::number(double v) {
    separate();
    appendNumberText(buffer_, v, '.');
}

void FieldWriter::integer(long long v) {
    separate();
    char b[24];
    auto r = std::to_chars(b, b + sizeof b, v);
    buffer_.append(b, r.ptr);
}

void FieldWriter::raw(std::string_view t) {
    separate();
    buffer_ += t;
}

void FieldWriter::endRecord() {
    buffer_ += "\r\n";
    fieldOnLine_ = false;
    flushIfLarge();
}

void FieldWriter::flushIfLarge() {
    if (!file_ || buffer_.size() < kFlushAt) return;
    if (error_.empty() && !writeBytes(file_, path_, buffer_.data(), buffer_.size()))
        error_ = "Erreur d'écriture du fichier " + path_ + " : " + systemError();
    buffer_.clear();
}

Status FieldWriter::close() {
    if (!file_) return Status::failure(error_);
    if (error_.empty() && !buffer_.empty() && !writeBytes(file_, path_, buffer_.data(), buffer_.size()))
        error_ = "Erreur d'écriture du fichier " + path_ + " : " + systemError();
    buffer_.clear();
    if (std::fclose(file_) != 0 && error_.empty())
        error_ = "Erreur d'écriture du fichier " + path_ + " : " + systemError();
    file_ = nullptr;
    return Status::failure(error_);
}

}  // namespace vornelle
