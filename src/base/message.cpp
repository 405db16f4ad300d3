// Texts quoted in messages; see message.h.
#include "message.h"

#include <utility>

namespace vornelle {
namespace {

constexpr size_t kShown = 60;  // characters

bool continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The byte where character kShown starts (the size when there are fewer), and the count.
std::pair<size_t, uint64_t> cutAndCount(std::string_view text) {
    size_t cut = text.size();
    uint64_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (continuation(text[i])) continue;
        if (characters == kShown) cut = i;
        ++characters;
    }
    return {cut, characters};
}

std::string shortened(std::string_view text, size_t cut, const std::string& length) {
    return "\"" + std::string(text.substr(0, cut)) + "…\" (" + length + ")";
}

}  // namespace

std::string quotedText(std::string_view text) {
    auto [cut, characters] = cutAndCount(text);
    if (characters <= kShown + 10) return "\"" + std::string(text) + "\"";
    return shortened(text, cut, std::to_string(characters) + " caractères");
}

std::string quotedText(std::string_view start, uint64_t bytes) {
    if (bytes <= start.size()) return quotedText(start);
    return shortened(start, cutAndCount(start).first, std::to_string(bytes) + " octets");
}

}  // namespace vornelle
