// Comma-delimited sequential text files, as every file of the program is written: fields
// separated by commas, records ended by CR LF, texts in double quotes without escaping,
// numbers bare. One reader and one writer serve every format.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "outcome.h"

namespace vornelle {

// Reads fields one after the other. A field ends at a comma or at a line end (CR LF or LF
// alone); blanks before a field are skipped; a field that begins with a double quote runs
// to the next double quote and commas or line ends inside it are data; after the closing
// quote everything up to the next comma or line end is skipped. Trailing blanks of an
// unquoted field are dropped.
class FieldReader {
  public:
    // Reads from memory (the text must outlive the reader).
    explicit FieldReader(std::string_view text);
    // Reads a file through a large buffer.
    static Outcome<FieldReader> open(const std::string& path);

    FieldReader(FieldReader&&) noexcept;
    FieldReader& operator=(FieldReader&&) noexcept;
    ~FieldReader();

    // Next field into `out`. False when the data ended before a field could start (reading
    // past the end), on a read error or on a field over 1 MB; error() then says which.
    bool next(std::string& out);
    // True when nothing but blanks and line ends remains.
    bool atEnd();
    // Number of line ends passed so far, plus one: the line the next field starts on.
    long line() const { return line_; }
    const std::string& error() const { return error_; }
    // True when next() stopped on a field over 1 MB.
    bool fieldTooLong() const { return tooLong_; }

  private:
    FieldReader() = default;
    int peek();
    int get();
    bool fill();
    bool tooLong();

    // No field of the program's files comes near this; a damaged file's endless field (an
    // unclosed quote) must not fill the memory.
    static constexpr size_t kMaxField = 1 << 20;  // bytes

    std::FILE* file_ = nullptr;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    long line_ = 1;
    std::string error_;
    bool tooLong_ = false;
};

// Builds records in memory and flushes them to a file in large writes.
class FieldWriter {
  public:
    // Opens for appending (the file is created when missing), as the program's writers do.
    static Outcome<FieldWriter> append(const std::string& path);
    // Writes into a text kept by the writer (see text()); for whole-file replacement.
    FieldWriter();

    FieldWriter(FieldWriter&&) noexcept;
    FieldWriter& operator=(FieldWriter&&) noexcept;
    ~FieldWriter();

    void text(std::string_view t);  // "t"
    void number(double v);          // general number text with a point
    void integer(long long v);      // 37
    void raw(std::string_view t);   // file bytes as they are, no quotes
    void endRecord();               // CR LF
    // Writes out what is buffered and closes; the first write error is reported here.
    Status close();
    const std::string& contents() const { return buffer_; }

  private:
    void separate();
    void flushIfLarge();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string buffer_;
    bool fieldOnLine_ = false;
    std::string error_;
};

}  // namespace vornelle
