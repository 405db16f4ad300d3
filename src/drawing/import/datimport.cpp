// DAT import; see datimport.h. x and y are read with the leading-number conversion (exponent
// included), separated by any run of blanks and tabs; LF alone ends a line as CR LF does.
#include "datimport.h"

#include "base/files.h"
#include "base/numbers.h"

namespace vornelle {
namespace {

const char* kUnusable =
    "le fichier choisi n'est pas utilisable choisir un fichier valide ou reportez vous à la notice "
    "d'utilisation. ";

// The items of one line: comma-separated, leading blanks skipped, a quoted item runs to the
// next quote.
std::vector<std::string> items(std::string_view line) {
    std::vector<std::string> out;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::string item;
        if (i < line.size() && line[i] == '"') {
            size_t q = line.find('"', i + 1);
            if (q == std::string_view::npos) q = line.size();
            item = line.substr(i + 1, q - i - 1);
            i = line.find(',', q);
        } else {
            size_t c = line.find(',', i);
            item = line.substr(i, c == std::string_view::npos ? std::string_view::npos : c - i);
            while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.pop_back();
            i = c;
        }
        out.push_back(item);
        if (i == std::string_view::npos || i >= line.size()) break;
        ++i;
    }
    return out;
}

}  // namespace

std::string datText(double v, std::string& zeros) {
    std::string s = numberText(v, ',');
    size_t e = s.find('E');
    if (e == std::string::npos || s[e + 1] != '-') return s;
    std::string t = s.substr(s.size() - 3);
    int exponent = std::stoi(s.substr(e + 2));
    bool negative = s[0] == '-';
    std::string mantissa = s.substr(negative ? 1 : 0, e - (negative ? 1 : 0));  // d,ddd
    size_t taken = negative ? 5 : 4;
    // The usual form: exponent 2 to 9 and a mantissa long enough for the characters taken.
    if (s.size() - 3 == e + 1 && exponent >= 2 && exponent <= 9 && mantissa.size() >= taken + 2) {
        zeros = std::string(static_cast<size_t>(exponent - 1), '0');
        if (negative) return "-0," + zeros + s.substr(1, 1) + s.substr(3, 5);
        return "0," + zeros + s.substr(0, 1) + s.substr(2, 4);
    }
    // Short mantissas and long exponents: the plain form of the whole value.
    std::string digits;
    for (char c : mantissa)
        if (c >= '0' && c <= '9') digits += c;
    return std::string(negative ? "-" : "") + "0," + std::string(static_cast<size_t>(exponent - 1), '0') +
           digits;
}

ImportResult importDat(const std::string& path, Drawing& target) {
    ImportResult result;
    auto refuse = [&result](const std::string& text, const char* title) {
        result.message = {text, title, 272};
        return result;
    };
    if (path.size() < 3 || path.compare(path.size() - 3, 3, "dat") != 0)
        return refuse("choisir un fichier DAT", "essaie encore");
    if (path.empty()) return refuse("Nom du fichier ?", "Saisie incomplette !");
    if (!fileExists(path)) return refuse("Fichier introuvable !", "Mauvaise saisie !");
    auto text = readFile(path);
    if (!text) return refuse(kUnusable, "Mauvaise saisie !");
    if (text->empty()) return refuse(kUnusable, "Mauvaise saisie !");

    Drawing d;
    int counter = 0;
    std::string zeros, lastX, lastY;
    size_t pos = 0;
    const std::string& t = *text;
    while (pos < t.size()) {
        size_t end = t.find('\n', pos);
        if (end == std::string::npos) end = t.size();
        std::string_view line(t.data() + pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = end + 1;
        for (const std::string& L : items(line)) {
            if (L.empty() || (L[0] != '0' && L[0] != '.' && L[0] != '1')) {
                ++counter;
                continue;
            }
            size_t sep = L.find_first_of(" \t");
            if (sep == std::string::npos) continue;
            size_t rest = L.find_first_not_of(" \t", sep);
            auto x = leadingNumber(std::string_view(L).substr(0, sep));
            auto y = leadingNumber(rest == std::string::npos ? std::string_view()
                                                             : std::string_view(L).substr(rest));
            if (!x || !y) return refuse(kUnusable, "Mauvaise saisie !");
            lastX = datText(1 - *x, zeros);
            lastY = datText(*y + 0.5, zeros);
            if (counter == 1) {
                d.appendRecord(lastX, lastY, "0");
                d.appendRecord(lastX, lastY, "1");
                counter = 0;
            } else {
                d.appendRecord(lastX, lastY, "1");
            }
        }
    }
    if (d.size() == 0) return refuse(kUnusable, "Mauvaise saisie !");
    d.appendRecord(lastX, lastY, "0");
    d.Text3 = std::to_string(d.counter - 1);
    d.List6.clear();
    for (size_t i = 0; i < d.size(); ++i) d.List6.push_back(".");
    target = std::move(d);
    result.ok = true;
    return result;
}

}  // namespace vornelle
