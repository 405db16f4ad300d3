// A list of short texts packed in one buffer (offset and length per entry, 8 bytes), so that
// a drawing of a million records stays a few tens of megabytes. Entries can be replaced; a
// replacement that does not fit is appended to the buffer, which therefore only grows: its
// offsets take 40 bits (1 TiB), and the rare text of 16 MiB or more is kept on its own.
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
        const Entry e = entries_[i];
        if (e.length() == kLong) return long_[e.offset()];
        return {buffer_.data() + e.offset(), e.length()};
    }
    void push_back(std::string_view t) {
        entries_.push_back(store(t));
    }
    void set(size_t i, std::string_view t) {
        Entry& e = entries_[i];
        if (t.size() <= e.length() && e.length() != kLong) {
            // In place; memmove since t may be a view of this buffer.
            std::char_traits<char>::move(buffer_.data() + e.offset(), t.data(), t.size());
            e = Entry(e.offset(), t.size());
        } else {
            e = store(t);
        }
    }
    void clear() {
        entries_.clear();
        buffer_.clear();
        long_.clear();
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
    static constexpr uint64_t kLong = (uint64_t{1} << 24) - 1;  // length mark of a text kept alone
    struct Entry {
        Entry(uint64_t offset, uint64_t length) : bits(offset << 24 | length) {}
        uint64_t offset() const { return bits >> 24; }          // bytes into buffer_, or index in long_
        size_t length() const { return bits & kLong; }          // bytes
        uint64_t bits;
    };
    Entry store(std::string_view t) {
        if (t.size() >= kLong) {
            // Copied before long_ grows: t may be a view of one of its texts.
            std::string copy(t);
            long_.push_back(std::move(copy));
            return Entry(long_.size() - 1, kLong);
        }
        Entry e(buffer_.size(), t.size());
        buffer_.append(t);
        return e;
    }
    std::vector<Entry> entries_;
    std::string buffer_;
    std::vector<std::string> long_;
};

}  // namespace vornelle
