// The automatic cut order; see autoorder.h. The cuts are read from the records, the
// containment found (containment.h), two starts improved (ordersearch.h), the better one
// kicked and improved again while time remains (orderrestarts.h), and the result written to
// List6 as entry points numbered 1, 2, 3... for the reorganisation.
#include "autoorder.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "containment.h"
#include "cutorder.h"
#include "orderrestarts.h"
#include "ordersearch.h"
#include "pointgrid.h"

namespace vornelle {
namespace {

struct Records {
    std::vector<Shape> shapes;
    std::vector<size_t> deb;  // the approach record of each cut
};

// Cut after cut: "D", then in-material records "0", then "F"; anything else gives nothing.
std::optional<Records> readCuts(const Drawing& d) {
    const size_t n = d.List4.size();
    if (d.List1.size() != n || d.List2.size() != n || d.List3.size() != n) return std::nullopt;
    Records r;
    for (size_t i = 0; i < n;) {
        if (d.List4[i] != "D") return std::nullopt;
        size_t fin = i + 1;
        while (fin < n && d.List4[fin] == "0") ++fin;
        if (fin >= n || d.List4[fin] != "F" || fin == i + 1) return std::nullopt;
        Shape s;
        for (size_t k = i + 1; k < fin; ++k) {
            auto x = coordinateValue(d.List1[k]), y = coordinateValue(d.List2[k]);
            if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) return std::nullopt;
            s.pts.push_back({*x, *y});
        }
        s.closed = s.pts.front().x == s.pts.back().x && s.pts.front().y == s.pts.back().y;
        r.shapes.push_back(std::move(s));
        r.deb.push_back(i);
        i = fin + 1;
    }
    return r;
}

Point2 recordPoint(const Drawing& d, size_t i) {
    return {coordinateValue(d.List1[i]).value_or(0), coordinateValue(d.List2[i]).value_or(0)};
}

}  // namespace

double drawingTravel(const Drawing& d) {
    const size_t n = std::min({d.List1.size(), d.List2.size(), d.List3.size()});
    double sum = 0;
    Point2 at{0, 0};
    bool out = true;  // at the origin the tool is out of the material
    for (size_t i = 0; i < n; ++i) {
        Point2 p = recordPoint(d, i);
        bool pOut = d.List3[i] == "0";
        if (out && pOut) sum += travel(at, p);
        at = p, out = pOut;
    }
    if (out) sum += travel(at, {0, 0});
    return sum;
}

AutoOrderResult autoOrder(Drawing& d, const AutoOrderOptions& options) {
    // The search stops at four fifths of the budget: the rest is for the reorganisation.
    const auto deadline = std::chrono::steady_clock::now() + options.budget * 4 / 5;
    AutoOrderResult result;
    result.travelBefore = result.travelAfter = drawingTravel(d);
    auto cuts = readCuts(d);
    if (!cuts || cuts->shapes.empty()) return result;
    result.cuts = cuts->shapes.size();
    const std::vector<Shape>& shapes = cuts->shapes;
    const auto containers = containingShapes(shapes);

    OrderPlan file;
    for (uint32_t c = 0; c < shapes.size(); ++c) file.order.push_back(c);
    file.entry.assign(shapes.size(), 0);
    const bool fileKeeps = keepsContainment(file.order, containers);

    OrderPlan nearest = nearestNeighbour(shapes, containers);
    result.travelNearest = planTravel(shapes, nearest);
    // Half the time left for each start; the file order takes what the first leaves.
    auto now = std::chrono::steady_clock::now();
    OrderPlan best = improve(shapes, containers, nearest, fileKeeps ? now + (deadline - now) / 2 : deadline);
    if (fileKeeps) {
        OrderPlan other = improve(shapes, containers, file, deadline);
        if (planTravel(shapes, other) < planTravel(shapes, best)) best = std::move(other);
    }
    best = restartSearch(shapes, containers, std::move(best), deadline);
    // One cut entered where the file starts it: nothing to rebuild.
    if (shapes.size() == 1 && best.entry[0] == 0) return result;

    Drawing before = d;
    clearEntries(d);
    for (size_t k = 0; k < best.order.size(); ++k) {
        const uint32_t c = best.order[k];
        d.List6.set(cuts->deb[c] + 1 + best.entry[c], std::to_string(k + 1));
    }
    d.Text3 = std::to_string(shapes.size());
    if (!reorganise(d)) {
        d = std::move(before);
        return result;
    }
    const double after = drawingTravel(d);
    // The file order is one of the starts: a drawing that keeps the containment is never
    // given a longer travel, even through a rounding difference between the two measures.
    if (fileKeeps && after > result.travelBefore) {
        d = std::move(before);
        return result;
    }
    result.travelAfter = after;
    result.reordered = true;
    return result;
}

std::string travelLine(double before, double after) {
    auto one = [](double v) {
        char text[64];
        std::snprintf(text, sizeof text, "%.1f", v);
        std::string t = text;
        for (char& c : t)
            if (c == '.') c = ',';
        return t;
    };
    long p = before > 0 ? std::lround((after - before) / before * 100) : 0;
    std::string line = "Déplacements hors matière : ";
    line += one(before);
    line += " \u2192 ";
    line += one(after);
    line += p < 0 ? " (\u2212" : (p > 0 ? " (+" : " (");
    line += std::to_string(p < 0 ? -p : p);
    line += " %)";
    return line;
}

}  // namespace vornelle
