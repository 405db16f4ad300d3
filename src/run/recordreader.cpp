// Cut-file records; see recordreader.h.
#include "recordreader.h"

#include <cerrno>
#include <cstring>

namespace vornelle {
namespace {
constexpr size_t kSize = 1 << 20;
}

RecordReader::~RecordReader() {
    if (file_) std::fclose(file_);
}

Status RecordReader::open(const std::string& path) {
    path_ = path;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return Status::failure("Impossible de lire le fichier découpe " + path + " : " +
                               std::strerror(errno));
    // Not zeroed: only what fread fills is read, and zeroing a megabyte costs more than a small file.
    buffer_ = std::make_unique_for_overwrite<char[]>(kSize);
    return Status::success();
}

inline int RecordReader::peek() {
    if (pos_ == end_) {
        end_ = std::fread(buffer_.get(), 1, kSize, file_);
        pos_ = 0;
        if (end_ == 0) return -1;
    }
    return static_cast<unsigned char>(buffer_[pos_]);
}

inline int RecordReader::get() {
    int c = peek();
    if (c >= 0) ++pos_;
    return c;
}

RecordReader::Result RecordReader::next(uint8_t& value) {
    int c = peek();
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++pos_;
        c = peek();
    }
    if (c < 0) {
        if (std::ferror(file_)) {
            error_ = "Erreur de lecture du fichier découpe " + path_ + " : " + std::strerror(errno);
            return Result::Bad;
        }
        return Result::End;
    }
    std::string text;
    unsigned v = 0;
    bool digits = false, valid = true, blank = false;
    while ((c = peek()) >= 0 && c != ',' && c != '\r' && c != '\n') {
        ++pos_;
        text += static_cast<char>(c);
        if (c >= '0' && c <= '9' && valid && !blank) {
            v = v * 10 + static_cast<unsigned>(c - '0');
            digits = true;
            if (v > 255) valid = false;
        } else if ((c == ' ' || c == '\t') && digits) {
            blank = true;  // trailing blanks are allowed
        } else {
            valid = false;
        }
        if (text.size() > 40) break;
    }
    if (c == ',') ++pos_;
    ++count_;
    if (!digits || !valid) {
        error_ = "Fichier découpe " + path_ + " : l'enregistrement " + std::to_string(count_) + " (\"" +
                 text + "\") n'est pas un nombre entier de 0 à 255.";
        return Result::Bad;
    }
    value = static_cast<uint8_t>(v);
    return Result::Record;
}

Outcome<uint64_t> checkCutFile(const std::string& path) {
    RecordReader r;
    if (Status s = r.open(path); !s) return Failure{s.message};
    uint8_t v;
    for (;;) {
        RecordReader::Result res = r.next(v);
        if (res == RecordReader::Result::End) break;
        if (res == RecordReader::Result::Bad) return Failure{r.error()};
    }
    if (r.count() == 0) return Failure{"Le fichier découpe " + path + " est vide : rien à découper."};
    return r.count();
}

}  // namespace vornelle
