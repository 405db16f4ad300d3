// Redraw of a million-record drawing: the real sample of nested ribs imported and laid out
// side by side until it passes a million records, then drawn by the view into an image of the
// picture's size (135 by 82 mm at 96 dpi). Prints the time to read the records' numbers once
// and the median time of a redraw, whole drawing in view and zoomed in; then the time the
// page's three lists take to show the same drawing.
#include <QApplication>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "base/numbers.h"
#include "drawing/import/dxfimport.h"
#include "drawing/page/recordlists.h"
#include "drawing/view/view.h"
#include "ui/qtpainter.h"

using namespace vornelle;
using Clock = std::chrono::steady_clock;

static double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

static double medianRedraw(const Drawing& d, const ViewPath& p, const Scene& s, double left, double top,
                           QImage& image) {
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        auto t0 = Clock::now();
        QPainter qp(&image);
        QtPainter painter(qp, left, top, 96 / 25.4, image.size());
        drawPath(d, p, s, painter);
        qp.end();
        times.push_back(ms(Clock::now() - t0));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::string work = (std::filesystem::temp_directory_path() / "vornelle-redraw-bench/").string();
    std::filesystem::create_directories(work);
    Drawing one;
    ImportResult r =
        importDxf(std::string(VORNELLE_SAMPLES) + "/dxf/gen-ezdxf__r12_rib_nest_large.dxf", work, one);
    std::filesystem::remove_all(work);
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", r.message.text.c_str());
        return 1;
    }
    // Copies of the sample side by side, each shifted by its width.
    ViewPath base = buildPath(one);
    auto [minX, maxX] = std::minmax_element(base.x.begin(), base.x.end());
    double width = (*maxX - *minX) * 1.05;
    Drawing d;
    for (int copy = 0; d.size() < 1000000; ++copy)
        for (size_t i = 0; i < one.size(); ++i)
            d.appendFull(numberText(base.x[i] + copy * width, ','), numberText(base.y[i], ','), one.List3[i],
                         one.List4[i], one.List5[i], one.List6[i]);
    auto t0 = Clock::now();
    ViewPath p = buildPath(d);
    double build = ms(Clock::now() - t0);

    QImage image(510, 310, QImage::Format_RGB32);
    auto fit = fitPath(p, 135, 82);
    Scene whole{Redraw::Cuts, fit->facteur, -1, true};
    double all = medianRedraw(d, p, whole, fit->left, fit->top, image);
    Scene near{Redraw::Cuts, fit->facteur * 30, -1, true};
    double zoomed = medianRedraw(d, p, near, fit->left * 30, fit->top * 30, image);
    Scene click{Redraw::ListClick, fit->facteur, 5, true};
    double clicked = medianRedraw(d, p, click, fit->left, fit->top, image);
    // The three lists of the page over the same drawing: filled, then scrolled to the end.
    RecordLists lists(d);
    lists.resize(400, 600);
    lists.show();
    t0 = Clock::now();
    lists.drawingChanged();
    lists.grab();
    double filled = ms(Clock::now() - t0);
    t0 = Clock::now();
    lists.select(static_cast<int>(d.size()) - 1);
    lists.grab();
    double scrolled = ms(Clock::now() - t0);

    std::printf("records: %zu (%zu copies of the sample)\n", d.size(), d.size() / one.size());
    std::printf("numbers read once after a load: %.1f ms\n", build);
    std::printf("redraw, whole drawing in view (red circles at %ld cuts): %.1f ms (median of 9)\n",
                std::count(p.numbered.begin(), p.numbered.end(), 1), all);
    std::printf("redraw, zoomed 30x: %.1f ms\n", zoomed);
    std::printf("list-click redraw (cut numbers), whole drawing: %.1f ms\n", clicked);
    std::printf("three lists filled and shown: %.1f ms; record selected at the end and shown: %.1f ms\n",
                filled, scrolled);
    return 0;
}
