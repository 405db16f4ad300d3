// The words of one G-code line; see gcodeline.h. Comments are "(...)" (not nested) and
// everything after ";". Numbers are an optional sign, digits and an optional fraction
// ("0.", ".5", "-0.00000"); no exponent, as controllers read them.
#include "gcodeline.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace vornelle {
namespace {

// A word's text quoted in a message, cut short: a damaged line can be very long.
std::string shown(std::string_view t) {
    return "« " + std::string(t.substr(0, 20)) + (t.size() > 20 ? "..." : "") + " »";
}

}  // namespace

std::string splitGcodeLine(std::string_view raw, GcodeLine& out) {
    out.words.clear();
    out.n.clear();
    // Program text without comments, spaces and case.
    std::string code;
    code.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        char ch = raw[i];
        if (ch == ';') break;
        if (ch == '(') {
            size_t close = raw.find(')', i);
            if (close == std::string_view::npos) return "commentaire « ( » sans « ) ».";
            i = close;
            continue;
        }
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v') continue;
        code.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
    }
    if (!code.empty() && code[0] == '%') return {};
    if (code.find_first_of("#[") != std::string::npos)
        return "paramètres et expressions (# et [...]) : un fichier découpe ne peut pas les calculer.";
    for (size_t i = 0; i < code.size();) {
        const char letter = code[i];
        if (letter == 'O') return "sous-programme O : un fichier découpe ne peut pas le suivre.";
        if (letter < 'A' || letter > 'Z') return "caractère " + shown(code.substr(i, 1)) + " inattendu.";
        size_t j = i + 1;
        if (j < code.size() && (code[j] == '+' || code[j] == '-')) ++j;
        size_t digits = 0;
        while (j < code.size() && (std::isdigit(static_cast<unsigned char>(code[j])) || code[j] == '.')) {
            if (code[j] != '.') ++digits;
            ++j;
        }
        GcodeWord w;
        w.letter = letter;
        w.text = code.substr(i, j - i);
        if (digits == 0) return "mot " + shown(w.text) + " sans nombre.";
        if (w.text.find('.') != w.text.rfind('.')) return "nombre " + shown(w.text) + " mal écrit.";
        // from_chars takes neither "+" nor a lone trailing ".": read sign and digits apart.
        std::string number = w.text.substr(1);
        bool negative = number[0] == '-';
        if (number[0] == '+' || number[0] == '-') number.erase(0, 1);
        if (number.back() == '.') number.pop_back();
        auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), w.value);
        if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(w.value))
            return "nombre " + shown(w.text) + " illisible.";
        if (negative) w.value = -w.value;
        i = j;
        if (letter == 'N') {
            if (!out.n.empty() || !out.words.empty()) return "mot N ailleurs qu'en tête de ligne.";
            out.n = w.text;
            continue;
        }
        out.words.push_back(std::move(w));
    }
    return {};
}

}  // namespace vornelle
