// The drawing view without widgets: the numbers of a drawing's records, the millimetre
// mapping (facteur X + 5, 100 - facteur Y), the redraw variants with their marks and
// colours, and the fit of a whole drawing into the picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drawing/drawing.h"
#include "painter.h"

namespace vornelle {

// The records' coordinates as numbers, read once per drawing (the texts of a million
// records take longer to read than to draw). Only the prefix before the first record that
// cannot be read is kept.
struct ViewPath {
    std::vector<double> x, y;         // drawing units
    std::vector<uint8_t> inMaterial;  // List3 text is not "0"
    std::vector<uint8_t> numbered;    // List5 text is not "."
    bool typeError = false;           // a record could not be read, or there is none
    size_t size() const { return x.size(); }
};
ViewPath buildPath(const Drawing& d);

// Which redraw is asked for; each has its own marks.
enum class Redraw {
    None,       // nothing drawn yet
    ListClick,  // cut numbers and a green circle, the selected record in magenta
    Zoom,       // Zoom +, Zoom -, the horizontal scroll bar: the path alone
    Cuts,       // the vertical scroll bar, Agrandir, Réduire: a red circle at each cut
};

struct Scene {
    Redraw variant = Redraw::None;
    double facteur = 1;
    long selected = -1;      // record marked by the list-click redraw
    bool clearFirst = true;  // Agrandir refreshes instead of clearing
};

// Mapped points beyond this many millimetres overflow the picture.
constexpr double kPictureLimit = 1e6;

enum class DrawEnd { Done, TypeError, Overflow };

// Draws the path of the scene; stops at a record that cannot be read or that overflows.
DrawEnd drawPath(const Drawing& d, const ViewPath& p, const Scene& s, Painter& painter);

// The entry-point overlay drawn over the picture after "Valider": the path once more at the
// picture's scale without facteur, the first point in black at (X - 1, 100 - Y), the lines
// from (X + 5, 100 - Y), light red where the record is out of the material. Nothing is
// cleared first; stops at a record that overflows.
DrawEnd drawOverlay(const ViewPath& p, Painter& painter);

// How the redraw of the scene would end, without drawing.
DrawEnd checkPath(const ViewPath& p, double facteur);

// Picture coordinates of a drawing point, and back.
inline double pictureX(double facteur, double x) {
    return facteur * x + 5;
}
inline double pictureY(double facteur, double y) {
    return 100 - facteur * y;
}

// The facteur and picture origins (left, top, in mm) that show the whole path in a picture
// of width by height millimetres; none when the path is empty.
struct Fit {
    double facteur, left, top;
};
std::optional<Fit> fitPath(const ViewPath& p, double width, double height);

}  // namespace vornelle
