// Windows-1252 conversion; see cp1252.h. Only 0x80..0x9F differ from Latin-1.
#include "cp1252.h"

namespace vornelle {
namespace {
// Code points of bytes 0x80..0x9F; 0 where the byte is undefined (kept as the C1 control).
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::u16string fromCp1252(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
            out += kHigh[b - 0x80];
        else
            out += static_cast<char16_t>(b);
    }
    return out;
}

std::string toCp1252(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char byte = '?';
        for (int k = 0; k < 32; ++k) {
            if (kHigh[k] == c || (kHigh[k] == 0 && c == 0x80 + k)) {
                byte = static_cast<char>(0x80 + k);
                break;
            }
        }
        out += byte;
    }
    return out;
}

}  // namespace vornelle

namespace vornelle {

bool isAscii(std::string_view t) {
    for (char c : t)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    if (isAscii(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 8);
    for (char16_t c : fromCp1252(bytes)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToCp1252(std::string_view t) {
    if (isAscii(t)) return std::string(t);
    std::u16string u;
    for (size_t i = 0; i < t.size();) {
        auto b = static_cast<unsigned char>(t[i]);
        char32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b, len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F, len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F, len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07, len = 4;
        } else {
            u += u'?';
            ++i;
            continue;
        }
        bool ok = i + len <= t.size();
        for (size_t k = 1; ok && k < len; ++k) {
            auto cb = static_cast<unsigned char>(t[i + k]);
            if ((cb & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (cb & 0x3F);
        }
        if (!ok) {
            u += u'?';
            ++i;
            continue;
        }
        u += cp > 0xFFFF ? u'?' : static_cast<char16_t>(cp);
        i += len;
    }
    return toCp1252(u);
}

}  // namespace vornelle
