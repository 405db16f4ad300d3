// The drawing held by the drawing page: parallel lists of texts (List1 X, List2 Y, List3 Z
// flag, List4 marker, List5 default order, List6 entry order, and the work lists of the
// reorganisation), the marker rule that derives cuts from the Z flags, and the FRA file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "textlist.h"

namespace vornelle {

struct Drawing {
    TextList List1, List2, List3, List4, List5, List6, List7, List9, List10, List11;
    std::string Text3;  // number of cuts shown beside the lists
    // Marker rule state: phase p and cut counter c.
    int phase = 1;
    int counter = 1;

    size_t size() const { return List3.size(); }
    // Empties the ten lists and restarts the marker rule.
    void clear();
    void resetMarkers() { phase = 1, counter = 1; }
    // Appends X, Y, Z and one step of the marker rule (List5 then List4).
    void appendRecord(std::string_view x, std::string_view y, std::string_view z);
    // Text3 = cuts counted, then one "." in List6 per record.
    void finishLoad();
    // Appends a whole record to List1..List6 as an importer builds it.
    void appendFull(std::string_view x, std::string_view y, std::string_view z, std::string_view m,
                    std::string_view o, std::string_view e);
    // List4 and List5 again from List3 by the marker rule; Text3 from the count of cuts.
    void rebuildMarkers();
};

// Numeric value of a coordinate text: decimal comma, or a point where the source left one.
std::optional<double> coordinateValue(std::string_view text);

// The text written to an FRA file for a coordinate: a point at position 2, 3 or 4 becomes a
// comma (a point at position 1 or 5 and later stays).
std::string fraCoordinate(std::string_view text);

// Appends the drawing to `path` as FRA records between two origin lines 0,0,0.
Status writeFra(const Drawing& d, const std::string& path);

constexpr const char* kFraUnusable = "Saisie incompatible! Le fichier FRA choisi n'est pas utilisable.";

// Reads an FRA file into the drawing (cleared first). On a read error the records read so
// far stay, Text3 keeps its previous text, List6 is filled, and the error is returned.
Status readFra(Drawing& d, const std::string& path);

}  // namespace vornelle
