// The details file (.det) beside a cut file: one record of ten text fields keeping the
// parameters the cut file was made with and a free note.
#pragma once

#include <array>
#include <string>

#include "base/outcome.h"

namespace vornelle {

// In file order: Text10 feed in, text1 FRA path, Text4 scale, Text6 X steps/mm, Text7 note,
// Text11 feed out, Text9 cut file name, Text12 pass depth, Text3 Y steps/mm, Text5 Z steps/mm.
struct Details {
    std::array<std::string, 10> fields;
    bool operator==(const Details&) const = default;
};

std::string detailsRecord(const Details& d);
// Creates the file by appending (the caller checked it does not exist).
Status writeDetails(const std::string& path, const Details& d);
// Replaces the file as a whole ("Modifier le fichier de détails").
Status replaceDetails(const std::string& path, const Details& d);
// Reads the ten fields; a file with fewer is refused with a message.
Outcome<Details> readDetails(const std::string& path);

// The details file of a cut file name: ".def" or ".DEF" replaced by ".det", else ".det"
// appended (`upperToo` false for the rewrite, which only knows ".def").
std::string detailsPathFor(const std::string& cutName, bool upperToo = true);

}  // namespace vornelle
