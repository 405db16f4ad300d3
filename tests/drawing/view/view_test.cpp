// The drawing view's engine: the millimetre mapping, the marks and colours of each redraw,
// the errors that end a redraw, and the fit of a whole drawing.
#include "drawing/view/view.h"

#include <gtest/gtest.h>

#include "recordingpainter.h"

using namespace vornelle;
using test::Drawn;

namespace {
// Two cuts as an import makes them: Z flags 0 1 1 0 0 1 1 1 0.
Drawing twoCuts() {
    Drawing d;
    const char* z = "011001110";
    for (int i = 0; i < 9; ++i) d.appendRecord(std::to_string(10 * i), "20", std::string(1, z[i]));
    d.finishLoad();
    return d;
}

std::vector<Drawn> draw(const Drawing& d, Redraw v, double facteur = 1, long selected = -1,
                        DrawEnd* end = nullptr) {
    test::RecordingPainter p;
    DrawEnd e = drawPath(d, buildPath(d), Scene{v, facteur, selected, true}, p);
    if (end) *end = e;
    return p.calls;
}

std::vector<Drawn> only(const std::vector<Drawn>& calls, Drawn::Kind k) {
    std::vector<Drawn> v;
    for (const Drawn& c : calls)
        if (c.kind == k) v.push_back(c);
    return v;
}
}  // namespace

TEST(View, MappingAndLineColours) {
    Drawing d;
    d.appendRecord("0", "0", "0");
    d.appendRecord("10", "20", "1");
    d.appendRecord("12,5", "-4.5", "0");
    auto calls = draw(d, Redraw::Zoom);
    ASSERT_EQ(calls.front().kind, Drawn::Clear);
    auto points = only(calls, Drawn::Point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_DOUBLE_EQ(points[0].x1, -1);  // the first point has no 5 mm margin
    EXPECT_DOUBLE_EQ(points[0].y1, 100);
    auto lines = only(calls, Drawn::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].x2, 15);
    EXPECT_DOUBLE_EQ(lines[0].y2, 80);
    EXPECT_EQ(lines[0].colour, Colour::Foreground);  // into the material
    EXPECT_DOUBLE_EQ(lines[1].x2, 17.5);
    EXPECT_DOUBLE_EQ(lines[1].y2, 104.5);
    EXPECT_EQ(lines[1].colour, Colour::LightRed);  // a lift
    // facteur scales the drawing, not the margins.
    auto half = only(draw(d, Redraw::Zoom, 0.5), Drawn::Line);
    EXPECT_DOUBLE_EQ(half[0].x2, 10);
    EXPECT_DOUBLE_EQ(half[0].y2, 90);
}

TEST(View, MarksOfEachRedraw) {
    Drawing d = twoCuts();
    EXPECT_TRUE(only(draw(d, Redraw::Zoom), Drawn::Circle).empty());
    EXPECT_TRUE(only(draw(d, Redraw::Zoom), Drawn::Text).empty());

    // Scroll and size redraws: a red circle of 1 mm on each cut's number.
    auto cuts = only(draw(d, Redraw::Cuts), Drawn::Circle);
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_DOUBLE_EQ(cuts[0].x1, 15);  // record 1
    EXPECT_DOUBLE_EQ(cuts[1].x1, 55);  // record 5
    for (const Drawn& c : cuts) {
        EXPECT_EQ(c.colour, Colour::LightRed);
        EXPECT_DOUBLE_EQ(c.x2, 1);
    }

    // List click on record 2: green numbers and circles, the selected record in magenta.
    auto calls = draw(d, Redraw::ListClick, 1, 2);
    EXPECT_EQ(only(calls, Drawn::Point)[0].colour, Colour::Black);
    auto texts = only(calls, Drawn::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "1");
    EXPECT_EQ(texts[1].text, "2");
    EXPECT_EQ(texts[1].colour, Colour::LightGreen);
    EXPECT_DOUBLE_EQ(texts[1].x1, 55);
    auto circles = only(calls, Drawn::Circle);
    ASSERT_EQ(circles.size(), 3u);
    EXPECT_EQ(circles[0].colour, Colour::LightGreen);
    EXPECT_EQ(circles[1].colour, Colour::LightMagenta);
    EXPECT_DOUBLE_EQ(circles[1].x1, 25);
    EXPECT_DOUBLE_EQ(circles[1].x2, 0.5);
    // The lines after a mark go back to their own colours.
    auto lines = only(calls, Drawn::Line);
    EXPECT_EQ(lines[2].colour, Colour::LightRed);
    EXPECT_EQ(lines[1].colour, Colour::Foreground);
}

TEST(View, ErrorsEndTheRedraw) {
    Drawing empty;
    DrawEnd end;
    draw(empty, Redraw::Zoom, 1, -1, &end);
    EXPECT_EQ(end, DrawEnd::TypeError);
    EXPECT_EQ(checkPath(buildPath(empty), 1), DrawEnd::TypeError);

    // The lines before a record that is not a number stay.
    Drawing d = twoCuts();
    d.List1.set(4, "x");
    auto lines = only(draw(d, Redraw::Zoom, 1, -1, &end), Drawn::Line);
    EXPECT_EQ(end, DrawEnd::TypeError);
    EXPECT_EQ(lines.size(), 3u);

    // Beyond the picture's range: overflow, at a facteur that makes it so.
    Drawing big = twoCuts();
    big.List2.set(6, "900000");
    EXPECT_EQ(checkPath(buildPath(big), 1), DrawEnd::Done);
    EXPECT_EQ(checkPath(buildPath(big), 2), DrawEnd::Overflow);
    lines = only(draw(big, Redraw::ListClick, 2, -1, &end), Drawn::Line);
    EXPECT_EQ(end, DrawEnd::Overflow);
    EXPECT_EQ(lines.size(), 5u);
}

TEST(View, FitShowsTheWholeDrawing) {
    Drawing d;
    d.appendRecord("-50", "10", "0");
    d.appendRecord("150", "60", "1");
    auto fit = fitPath(buildPath(d), 135, 82);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->facteur, (135 - 6) / 200.0);  // width limits
    for (double x : {-50.0, 150.0}) {
        double px = pictureX(fit->facteur, x) - fit->left;
        EXPECT_GE(px, 0);
        EXPECT_LE(px, 135);
    }
    for (double y : {10.0, 60.0}) {
        double py = pictureY(fit->facteur, y) - fit->top;
        EXPECT_GE(py, 0);
        EXPECT_LE(py, 82);
    }
    EXPECT_FALSE(fitPath(buildPath(Drawing{}), 135, 82));
}
