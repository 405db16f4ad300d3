// One physical line of a G-code program as its words: comments, spaces and case removed,
// every word a letter and its number. The syntax a cut file cannot take (parameters,
// expressions, subroutines) is refused here, with the reason in French.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vornelle {

struct GcodeWord {
    char letter = 0;   // upper case
    double value = 0;  // as written, in the program's units
    std::string text;  // the word as written without spaces, upper case ("G01", "N0090")
};

struct GcodeLine {
    std::vector<GcodeWord> words;  // the N word left out
    std::string n;                 // the N word as written, empty when none
};

// Splits `raw` (without its line end) into words. A `%` line, a blank line and a line of
// comments give no word. The refusal's reason, empty when the line reads.
std::string splitGcodeLine(std::string_view raw, GcodeLine& out);

}  // namespace vornelle
