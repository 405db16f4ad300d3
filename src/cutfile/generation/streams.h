// Fast readers and writers for the work files of the generation, which hold one small field
// per record ("0", "1", "\"0\"", "\"1\"" in the signal files). Records are written through
// large buffers by repeating patterns; they are read with a fast path for those shapes and
// the general comma-delimited rules for anything else.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "base/outcome.h"

namespace vornelle {

class PatternWriter {
  public:
    ~PatternWriter();
    Status open(const std::string& path);  // created empty
    // Appends `pattern` `count` times.
    void repeat(std::string_view pattern, uint64_t count);
    void append(std::string_view bytes);
    Status close();
    uint64_t bytesWritten() const { return written_ + used_; }

  private:
    void flush();
    std::FILE* file_ = nullptr;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    uint64_t written_ = 0;
    std::string error_;
};

// Reads one number field per call, as the comma-delimited rules read a field and the
// general number conversion reads its text.
class FieldStream {
  public:
    ~FieldStream();
    Status open(const std::string& path);
    // Next field as a number. False at the end of the file or on a field that is not a
    // number; error() tells which.
    inline bool next(double& value) {
        // Fast paths: d CR LF and "d" CR LF, d a single digit.
        if (end_ - pos_ >= 5) {
            const char* p = buffer_.get() + pos_;
            if (p[0] >= '0' && p[0] <= '9' && p[1] == '\r' && p[2] == '\n') {
                value = p[0] - '0';
                pos_ += 3;
                ++record_;
                return true;
            }
            if (p[0] == '"' && p[1] >= '0' && p[1] <= '9' && p[2] == '"' && p[3] == '\r' && p[4] == '\n') {
                value = p[1] - '0';
                pos_ += 5;
                ++record_;
                return true;
            }
        }
        return slowNext(value);
    }
    // True when only blanks and line ends remain.
    bool atEnd();
    const std::string& error() const { return error_; }
    long record() const { return record_; }

  private:
    bool fill(size_t need);
    bool slowNext(double& value);
    std::FILE* file_ = nullptr;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    size_t pos_ = 0, end_ = 0;
    bool eof_ = false;
    long record_ = 0;
    std::string error_;
};

}  // namespace vornelle
