// The DXF file as a stream of group-code / value pairs, read through a large buffer so that a
// file is never held whole in memory. Shared by the classic import and the complete import's
// check of the file before dxflib reads it.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace vornelle {

// Blanks and tabs at both ends, and the CR of a CR LF line end, removed.
std::string_view dxfTrim(std::string_view s);

// A DXF number: optional sign, digits, optional fraction after a point, optional exponent.
bool isDxfNumber(std::string_view t);

class PairReader {
  public:
    explicit PairReader(std::FILE* f);
    // Next pair; false at the end of the file or on an unreadable code (error() says which).
    bool next();
    int code = 0;
    std::string_view value;  // valid until the next call
    long codeLine() const { return codeLine_; }
    long valueLine() const { return line_; }
    const std::string& error() const { return error_; }

  private:
    static constexpr size_t kSize = 1 << 20;     // bytes read at a time
    static constexpr size_t kMaxLine = 1 << 20;  // bytes; a longer line is refused
    bool line(std::string& out);
    std::FILE* file_;
    std::unique_ptr<char[]> buffer_;
    size_t pos_ = 0, end_ = 0;
    std::string codeText_, valueText_;
    long line_ = 0, codeLine_ = 0;
    std::string error_;
};

}  // namespace vornelle
