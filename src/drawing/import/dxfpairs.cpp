// DXF pair reader; see dxfpairs.h.
#include "dxfpairs.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include "base/message.h"

namespace vornelle {

std::string_view dxfTrim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool isDxfNumber(std::string_view t) {
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
    if (t.empty()) return false;
    double v;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return ec == std::errc() && p == t.data() + t.size() && std::isfinite(v);
}

PairReader::PairReader(std::FILE* f) : file_(f), buffer_(std::make_unique_for_overwrite<char[]>(kSize)) {}

bool PairReader::next() {
    codeLine_ = line_ + 1;
    if (!line(codeText_)) return false;
    codeLine_ = line_;
    if (!line(valueText_)) {
        if (error_.empty()) error_ = "valeur manquante après le code " + quotedText(dxfTrim(codeText_));
        return false;
    }
    std::string_view c = dxfTrim(codeText_);
    value = dxfTrim(valueText_);
    int n = 0;
    auto [p, ec] = std::from_chars(c.data(), c.data() + c.size(), n);
    if (ec != std::errc() || p != c.data() + c.size()) {
        error_ = "code de groupe " + quotedText(c) + " illisible";
        return false;
    }
    code = n;
    return true;
}

bool PairReader::line(std::string& out) {
    out.clear();
    bool any = false;
    for (;;) {
        if (pos_ == end_) {
            end_ = std::fread(buffer_.get(), 1, kSize, file_);
            pos_ = 0;
            if (end_ == 0) {
                if (any) ++line_;
                return any;
            }
        }
        any = true;
        const char* start = buffer_.get() + pos_;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
        if (nl) {
            out.append(start, nl - start);
            pos_ += static_cast<size_t>(nl - start) + 1;
            ++line_;
            return true;
        }
        out.append(start, end_ - pos_);
        pos_ = end_;
        // No DXF line comes near this; a damaged file's endless line must not fill the memory.
        if (out.size() > kMaxLine) {
            codeLine_ = line_ + 1;  // the message names this line
            error_ = "ligne de plus de 1 Mo";
            return false;
        }
    }
}

}  // namespace vornelle
