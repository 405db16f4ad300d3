// A list of short texts packed in one buffer (offset and length per entry), so that a
// drawing of a million records stays a few tens of megabytes. Entries can be replaced; a
// replacement that does not fit is appended to the buffer. Offsets are 64-bit: replacements
// only ever grow the buffer, and a long editing session must not wrap it past 4 GiB.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornelle {

class TextList {
  public:
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::string_view operator[](size_t i) const {
        return {buffer_.data() + entries_[i].offset, entries_[i].length};
    }
    void push_back(std::string_view t) {
        entries_.push_back({buffer_.size(), static_cast<uint32_t>(t.size())});
        buffer_.append(t);
    }
    void set(size_t i, std::string_view t) {
        Entry& e = entries_[i];
        if (t.size() <= e.length) {
            // In place; memmove since t may be a view of this buffer.
            std::char_traits<char>::move(buffer_.data() + e.offset, t.data(), t.size());
        } else {
            e.offset = buffer_.size();
            buffer_.append(t);
        }
        e.length = static_cast<uint32_t>(t.size());
    }
    void clear() {
        entries_.clear();
        buffer_.clear();
    }
    void reserve(size_t n, size_t bytes) {
        entries_.reserve(n);
        buffer_.reserve(bytes);
    }
    std::vector<std::string> toVector() const {
        std::vector<std::string> v;
        for (size_t i = 0; i < size(); ++i) v.emplace_back((*this)[i]);
        return v;
    }

  private:
    struct Entry {
        uint64_t offset;  // bytes into buffer_
        uint32_t length;  // bytes; one record line, far below 4 GiB
    };
    std::vector<Entry> entries_;
    std::string buffer_;
};

}  // namespace vornelle
