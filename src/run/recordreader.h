// Reads the records of a cut file one after the other: each a whole number from 0 to 255,
// one per line (a comma also ends a record). Anything else is reported with its position.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "base/outcome.h"

namespace vornelle {

class RecordReader {
  public:
    ~RecordReader();
    Status open(const std::string& path);
    enum class Result { Record, End, Bad };
    Result next(uint8_t& value);
    uint64_t count() const { return count_; }
    const std::string& error() const { return error_; }

  private:
    int get();
    int peek();
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    size_t pos_ = 0, end_ = 0;
    uint64_t count_ = 0;
    std::string path_;
    std::string error_;
};

// Checks a whole cut file: every record valid and at least one. The number of records, or
// the message that says what is wrong.
Outcome<uint64_t> checkCutFile(const std::string& path);

}  // namespace vornelle
