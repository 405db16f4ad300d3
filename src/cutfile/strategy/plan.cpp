// The cut strategy's plan of a whole drawing; see plan.h.
#include "plan.h"

#include <algorithm>
#include <cmath>

#include "base/fields.h"
#include "base/interfaces.h"
#include "base/numbers.h"
#include "cutfile/generation/stages.h"
#include "pathgeometry.h"

namespace vornelle {
namespace {

const char* kTitle = "Stratégie de coupe";

// Step positions beyond this come from a typing slip, as in the classic generation.
constexpr double kMaxPosition = 2147483647.0;

struct PlannedPath {
    ToolPath path;
    std::vector<double> depths;
    std::vector<Tab> tabs;
    double tabTop = -1;  // mm; negative: no tabs
};

// A spindle turning clockwise seen from above cuts conventionally (each tooth's chip thin to
// thick) with the part on the tool's left: outlines counter-clockwise, holes and the pockets a
// tool's region encloses clockwise; climbing, the reverse.
void orient(ToolPath& p, CutDirection dir) {
    if (!p.closed) return;
    if (p.side != CutSide::OnLine) p.pts = startNearest(p.pts, p.entry);
    const bool outward = p.side == CutSide::OnLine ? !p.hole : (p.side == CutSide::Outside) != p.pocket;
    const bool ccw = dir == CutDirection::Conventional ? outward : !outward;
    if ((signedArea(p.pts) > 0) != ccw) p.pts = reversedClosed(p.pts);
}

std::optional<Message> planTabs(PlannedPath& pp, int number, const StrategySettings& s) {
    const double length = pathLength(pp.path.pts);
    if (s.tabs * s.tabWidth >= length)
        return Message{"Coupe " + std::to_string(number) + " : " + std::to_string(s.tabs) +
                           " attache(s) de " + numberText(s.tabWidth, ',') +
                           " mm ne tiennent pas sur son chemin de " +
                           numberText(std::round(length * 100) / 100, ',') + " mm.",
                       kTitle, style::kStopOk};
    std::vector<double> avoid;
    for (const Pt& c : pp.path.corners) avoid.push_back(positionNearest(pp.path.pts, c));
    pp.tabs = placeTabs(pp.path.pts, s.tabs, s.tabWidth, avoid);
    return std::nullopt;
}

std::optional<Message> planPaths(const DrawingCuts& dc, const Compensated& comp, const StrategySettings& s,
                                 std::vector<std::vector<PlannedPath>>& planned, StrategySummary& sum) {
    std::vector<double> all;
    planned.resize(dc.cuts.size());
    for (size_t i = 0; i < dc.cuts.size(); ++i)
        for (const ToolPath& t : comp.pathsOf[i]) {
            PlannedPath pp{t, {}, {}, -1};
            orient(pp.path, s.direction);
            const double depth = s.depth * t.zFlag;
            // The drawing's Z flag multiplies the depth: a flag such as 1e18 is a slip that
            // would make passes without end.
            if (s.stepDown > 0 && !(depth / s.stepDown <= 10000))
                return Message{"Coupe " + std::to_string(dc.cuts[i].number) + " : profondeur de " +
                                   numberText(depth, ',') + " mm, plus de 10000 passes de " +
                                   numberText(s.stepDown, ',') + " mm.",
                               kTitle, style::kStopOk};
            if (s.tabs > 0 && t.closed && !t.hole) {
                pp.tabTop = std::max(0.0, depth - s.tabHeight);
                if (auto refused = planTabs(pp, dc.cuts[i].number, s)) return refused;
                sum.tabs += static_cast<int>(pp.tabs.size());
            }
            pp.depths = passDepths(depth, s.stepDown, pp.tabs.empty() ? -1 : pp.tabTop);
            all.insert(all.end(), pp.depths.begin(), pp.depths.end());
            planned[i].push_back(std::move(pp));
        }
    std::sort(all.begin(), all.end());
    sum.passes = static_cast<int>(
        std::unique(all.begin(), all.end(), [](double a, double b) { return std::fabs(a - b) <= 1e-9; }) -
        all.begin());
    return std::nullopt;
}

// Lists cut numbers as a French reader expects them: "4", "4 et 7", "2, 4 et 7".
std::string numbers(const std::vector<int>& ns) {
    std::string out;
    for (size_t i = 0; i < ns.size(); ++i) {
        if (i > 0) out += i + 1 == ns.size() ? " et " : ", ";
        out += std::to_string(ns[i]);
    }
    return out;
}

std::string counted(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n > 1 ? many : one);
}

}  // namespace

std::optional<Message> planStrategy(const std::string& fra, double scale, const StrategySettings& s,
                                    StrategyPlan& plan) {
    plan = StrategyPlan{};
    DrawingCuts dc;
    Compensated comp;
    std::string why = readDrawingCuts(fra, scale, dc);
    if (why.empty()) why = compensate(dc.cuts, s, comp);
    if (!why.empty()) return Message{why, "Découpe", style::kStopOk};
    plan.summary.report = comp.report;
    std::vector<std::vector<PlannedPath>> planned;
    if (auto refused = planPaths(dc, comp, s, planned, plan.summary)) return refused;
    auto& out = plan.points;
    for (size_t k = 0; k < dc.items.size(); ++k) {
        const DrawingItem& it = dc.items[k];
        if (!it.isCut) {
            // The travels onto and off a cut lead to where its paths start and end now.
            const bool approach = k + 1 < dc.items.size() && dc.items[k + 1].isCut;
            const bool lift = k > 0 && dc.items[k - 1].isCut;
            if (!approach && !lift) out.push_back({it.travel.x, it.travel.y, 0});
            continue;
        }
        for (const PlannedPath& pp : planned[it.cut]) {
            out.push_back({pp.path.pts.front().x, pp.path.pts.front().y, 0});
            appendPasses(pp.path, pp.depths, pp.tabs, pp.tabTop, out);
            out.push_back({out.back().x, out.back().y, 0});
        }
    }
    if (out.size() < 2)
        return Message{"Aucune coupe ne peut être faite avec cet outil : rien à découper.", kTitle,
                       style::kStopOk};
    return std::nullopt;
}

std::string writePlan(const std::vector<Pt3>& points, const MachineFields& m, const std::string& premPath) {
    auto prem = FieldWriter::append(premPath);
    if (!prem) return prem.error();
    for (const Pt3& p : points) {
        const double steps[3] = {p.x * m.spmm[0], p.y * m.spmm[1], p.z * m.spmm[2]};
        for (int a = 0; a < 3; ++a) {
            if (!(std::fabs(steps[a]) <= kMaxPosition))
                return std::string("Un point du chemin de l'outil est à ") +
                       (std::isfinite(steps[a]) ? numberText(steps[a], ',') : std::string("plus de 1E+308")) +
                       " pas sur l'axe " + "XYZ"[a] +
                       ", au-delà de la limite de 2147483647 pas. Vérifiez l'échelle, les pas par mm et les "
                       "coordonnées.";
            prem->number(steps[a]);
        }
        prem->integer(0);
        prem->endRecord();
    }
    if (Status s = prem->close(); !s) return s.message;
    return {};
}

std::string summaryText(const StrategySummary& s, const StrategySettings& settings) {
    const CompensationReport& r = s.report;
    const std::string tool = "pour l'outil de " + numberText(settings.diameter, ',') + " mm : ";
    std::string out = "Stratégie de coupe : " + counted(r.outside, "contour découpé", "contours découpés") +
                      " à l'extérieur, " + std::to_string(r.inside) + " à l'intérieur, " +
                      std::to_string(r.onLine) + " sur le trait";
    if (r.open > 0) out += " (dont " + counted(r.open, "ouvert", "ouverts") + ")";
    out += " ; " + counted(s.passes, "profondeur de passe", "profondeurs de passe") + " ; " +
           counted(s.tabs, "attache", "attaches") + ".";
    const size_t holes = r.tooSmallHoles.size(), others = r.tooSmallOthers.size(), crowded = r.crowded.size();
    if (holes > 0)
        out += "\n" + counted(holes, "trou trop petit ", "trous trop petits ") + tool +
               (holes > 1 ? "coupes " : "coupe ") + numbers(r.tooSmallHoles) +
               (holes > 1 ? ", non découpés" : ", non découpé");
    if (others > 0)
        out += "\n" + counted(others, "contour trop petit ", "contours trop petits ") + tool +
               (others > 1 ? "coupes " : "coupe ") + numbers(r.tooSmallOthers) +
               (others > 1 ? ", non découpés" : ", non découpé");
    for (const auto& g : r.merged)
        out += "\nCoupes " + numbers(g) + " trop proches " + tool +
               "découpées ensemble, par un seul chemin autour d'elles";
    if (crowded > 0)
        out += "\n" + counted(crowded, "contour trop proche ", "contours trop proches ") +
               "de celui qui l'entoure ou d'un voisin " + tool + (crowded > 1 ? "coupes " : "coupe ") +
               numbers(r.crowded) + (crowded > 1 ? ", non découpés" : ", non découpé");
    return out;
}

}  // namespace vornelle
