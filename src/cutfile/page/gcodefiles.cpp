// G-code programs on the tool page; see gcodefiles.h.
#include "gcodefiles.h"

#include <QDir>
#include <QListWidget>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/numbers.h"
#include "cutfile/gcode/gcodearc.h"
#include "cutfile/gcode/gcodegeneration.h"

namespace vornelle {
namespace {

const char* kExtensions[] = {".nc", ".ngc", ".gcode", ".tap", ".cnc"};
constexpr double kRange = 2.0e9;         // picture units, as for a drawing
constexpr size_t kMaxLines = 4'000'000;  // beyond, the preview stops (a few hundred MB)

// The program's moves as preview lines, from the origin.
struct PreviewSink : GcodeSink {
    PreviewResult& r;
    double facteur, c, tolerance;
    double px = 0, py = 0;
    PreviewSink(PreviewResult& result, double f, double cc)
        : r(result), facteur(f), c(cc), tolerance(std::max(0.001, 10 / (50 * std::fabs(f)))) {}

    void to(double x, double y) {
        if (!r.error.empty()) return;
        x *= facteur, y *= facteur;
        PreviewLine l{50 * px + 5, c - 50 * py, 50 * x + 5, c - 50 * y};
        for (double v : {l.x1, l.y1, l.x2, l.y2})
            if (!std::isfinite(v) || std::fabs(v) > kRange) {
                r.overflow = true;
                r.error = "dépassement";
                return;
            }
        if (r.lines.size() >= kMaxLines) {
            r.error = "trop de lignes";
            return;
        }
        r.lines.push_back(l);
        px = x, py = y;
    }
    void move(const GcodeMove& m) override {
        if (m.kind != MoveKind::Arc) return to(m.to.x, m.to.y);
        const uint32_t n = arcChordCount(m, tolerance);
        for (uint32_t k = 1; k <= n && r.error.empty(); ++k) {
            Point3 p = arcPoint(m, k, n);
            to(p.x, p.y);
        }
    }
    void dwell(double, long) override {}
};

}  // namespace

bool isGcodeProgram(const std::string& path) {
    std::string lower = path;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* e : kExtensions) {
        const std::string ext = e;
        if (lower.size() > ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0)
            return true;
    }
    return false;
}

GcodeListing::GcodeListing(FilePanel* panel, std::function<bool()> shown)
    : QObject(panel), panel_(panel), shown_(std::move(shown)) {
    connect(panel, &FilePanel::folderOpened, this, [this] { relist(); });
    connect(panel, &FilePanel::folderClicked, this, [this] { relist(); });
}

void GcodeListing::relist() {
    if (!shown_() || panel_->folder().empty()) return;
    QListWidget* list = panel_->files();
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    QDir d(QString::fromStdString(panel_->folder()));
    QStringList patterns;
    for (const char* e : kExtensions) patterns << QString("*") + e;
    d.setNameFilters(patterns);  // QDir ignores case here: *.nc lists PIECE.NC too
    bool added = false;
    for (const QString& f : d.entryList(QDir::Files))
        if (!names.contains(f)) names << f, added = true;
    if (!added) return;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    list->clear();
    list->addItems(names);
}

PreviewResult previewOf(const std::string& path, double facteur, double c) {
    if (!isGcodeProgram(path)) return previewLines(path, facteur, c);
    PreviewResult r;
    PreviewSink sink(r, facteur, c);
    GcodeSummary summary;
    // A refused program shows its moves up to the refused line, without a message: the
    // refusal is told when the cut file is made.
    readGcodeFile(path, sink, summary);
    return r;
}

GenerationResult generateFromGcode(const GenerationInput& in, const std::string& Text2,
                                   const std::string& work, BusyPointer& pointer) {
    GcodeOptions o;
    o.Text2 = Text2;
    GcodeResult r = generateGcode(in, o, work, pointer);
    if (!r.generation.ok || r.feeds.empty()) return r.generation;
    // The F words do not pace the cut: say what they asked, beside "Petite vitesse".
    std::string feeds;
    for (const GcodeFeed& f : r.feeds)
        feeds += "\nF" + numberText(f.f, ',') + (r.summary.inch ? " po/min" : " mm/min") + " : " +
                 numberText(std::round(f.peakRate), ',') + " pas/s au plus";
    r.generation.message.text +=
        "\n\nAvances du programme (la découpe suit Petite et Grande vitesse) :" + feeds;
    return r.generation;
}

}  // namespace vornelle
