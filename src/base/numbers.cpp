// Number conversions; see numbers.h. Parsing goes through std::from_chars, which rounds
// correctly, after the text has been checked by hand for the accepted shape.
#include "numbers.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vornelle {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Scans a number starting at `i`: digits, optional `sep` then digits, optional exponent.
// Copies it into `out` with a point as separator. Returns the index after the number, or
// `i` when no digit was found.
size_t scanNumber(std::string_view t, size_t i, char sep, std::string& out) {
    size_t start = i;
    bool digits = false;
    while (i < t.size() && isDigit(t[i])) {
        out += t[i++];
        digits = true;
    }
    if (i < t.size() && t[i] == sep) {
        size_t save = i;
        std::string frac = ".";
        ++i;
        bool fracDigits = false;
        while (i < t.size() && isDigit(t[i])) {
            frac += t[i++];
            fracDigits = true;
        }
        if (fracDigits || digits) {
            if (fracDigits) out += frac;
            digits = true;
        } else {
            i = save;
        }
    }
    if (!digits) return start;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exp += t[j++];
        bool expDigits = false;
        while (j < t.size() && isDigit(t[j])) {
            exp += t[j++];
            expDigits = true;
        }
        if (expDigits) {
            out += exp;
            i = j;
        }
    }
    return i;
}

std::optional<double> parse(const std::string& body, bool negative) {
    double v = 0;
    auto [p, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (ec != std::errc() || p != body.data() + body.size()) return std::nullopt;
    if (!std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

}  // namespace

std::optional<double> decimalValue(std::string_view t) {
    size_t i = 0;
    while (i < t.size() && isBlank(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::string body;
    size_t end = scanNumber(t, i, ',', body);
    if (end == i) return std::nullopt;
    while (end < t.size() && isBlank(t[end])) ++end;
    if (end != t.size()) return std::nullopt;
    return parse(body, negative);
}

std::optional<double> leadingNumber(std::string_view t) {
    size_t i = 0;
    while (i < t.size() && isBlank(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::string body;
    size_t end = scanNumber(t, i, '.', body);
    if (end == i) return 0.0;
    return parse(body, negative);
}

double leadingNumberOr0(std::string_view text) {
    return leadingNumber(text).value_or(0.0);
}

void appendNumberText(std::string& out, double value, char separator) {
    if (value == 0 || !std::isfinite(value)) {
        out += '0';
        return;
    }
    // d.dddddddddddddde+XX: 15 significant digits, correctly rounded.
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const char* p = buf;
    const char* end = res.ptr;
    bool negative = *p == '-';
    if (negative) ++p;
    char digits[16];
    int nd = 0;
    while (p < end && *p != 'e') {
        if (isDigit(*p)) digits[nd++] = *p;
        ++p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    if (negative) out += '-';
    if (exponent <= -5 || exponent >= 15) {
        out += digits[0];
        if (nd > 1) {
            out += separator;
            out.append(digits + 1, nd - 1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        int a = exponent < 0 ? -exponent : exponent;
        if (a < 10) out += '0';
        char eb[8];
        auto r = std::to_chars(eb, eb + sizeof eb, a);
        out.append(eb, r.ptr);
    } else if (exponent < 0) {
        out += '0';
        out += separator;
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(digits, nd);
    } else {
        int intDigits = exponent + 1;
        for (int k = 0; k < intDigits; ++k) out += k < nd ? digits[k] : '0';
        if (nd > intDigits) {
            out += separator;
            out.append(digits + intDigits, nd - intDigits);
        }
    }
}

std::string numberText(double value, char separator) {
    std::string s;
    appendNumberText(s, value, separator);
    return s;
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

}  // namespace vornelle
