// The complete DXF import beside the classic one: best of three runs for every sample (the
// largest first) and for a generated file of 100,000 entities (lines, circles, arcs, closed
// POLYLINEs and LWPOLYLINEs with bulges, squares drawn as four lines to be joined).
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "drawing/import/complete/dxfcomplete.h"
#include "drawing/import/dxfimport.h"

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

template <class F>
double best(F run) {
    double b = 1e300;
    for (int k = 0; k < 3; ++k) {
        auto t0 = Clock::now();
        run();
        b = std::min(b, std::chrono::duration<double>(Clock::now() - t0).count());
    }
    return b * 1e3;
}

void measure(const std::string& label, const std::string& path, const fs::path& work) {
    vornelle::Drawing classic, complete;
    vornelle::ImportResult c;
    vornelle::CompleteResult x;
    double tc = best([&] { c = vornelle::importDxf(path, (work / "").string(), classic); });
    double tx = best([&] { x = vornelle::importDxfComplete(path, {}, complete); });
    std::printf("%-44s classic %8.1f ms, %6s cuts | complete %8.1f ms, %6s cuts (%ld closed, %ld open)%s\n",
                label.c_str(), tc, c.ok ? classic.Text3.c_str() : "-", tx,
                x.ok ? complete.Text3.c_str() : "-", x.closed, x.open, x.ok ? "" : "  (REFUSED)");
}

std::string generated(const fs::path& dir) {
    std::string path = (dir / "generated.dxf").string();
    std::ofstream f(path, std::ios::binary);
    f << "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
    long entities = 0;
    for (int i = 0; entities < 100000; ++i) {
        double x = (i % 100) * 12.5, y = (i / 100) * 7.25;
        switch (i % 5) {
            case 0:  // a square as four lines
                for (auto [a, b, c, d] : {std::array{0, 0, 4, 0}, {4, 0, 4, 4}, {4, 4, 0, 4}, {0, 4, 0, 0}})
                    f << "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n"
                      << x + a << "\r\n 20\r\n"
                      << y + b << "\r\n 11\r\n"
                      << x + c << "\r\n 21\r\n"
                      << y + d << "\r\n";
                entities += 4;
                break;
            case 1:
                f << "  0\r\nCIRCLE\r\n  8\r\n0\r\n 10\r\n"
                  << x << "\r\n 20\r\n"
                  << y << "\r\n 40\r\n2.5\r\n";
                ++entities;
                break;
            case 2:
                f << "  0\r\nARC\r\n  8\r\n0\r\n 10\r\n"
                  << x << "\r\n 20\r\n"
                  << y << "\r\n 40\r\n3\r\n 50\r\n10\r\n 51\r\n200\r\n";
                ++entities;
                break;
            case 3:
                f << "  0\r\nPOLYLINE\r\n  8\r\n0\r\n 66\r\n1\r\n 70\r\n1\r\n";
                for (int k = 0; k < 8; ++k)
                    f << "  0\r\nVERTEX\r\n  8\r\n0\r\n 10\r\n"
                      << x + k << "\r\n 20\r\n"
                      << y + (k % 2) << "\r\n";
                f << "  0\r\nSEQEND\r\n";
                ++entities;
                break;
            default:
                f << "  0\r\nLWPOLYLINE\r\n  8\r\n0\r\n 90\r\n4\r\n 70\r\n1\r\n";
                for (int k = 0; k < 4; ++k)
                    f << " 10\r\n"
                      << x + (k == 1 || k == 2) * 5 << "\r\n 20\r\n"
                      << y + (k >= 2) * 3 << "\r\n 42\r\n0.25\r\n";
                ++entities;
        }
    }
    f << "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    return path;
}
}  // namespace

int main(int argc, char** argv) {
    fs::path dir = fs::temp_directory_path() / "vornelle-dxf-complete-bench";
    fs::create_directories(dir);
    std::string samples = argc > 1 ? argv[1] : std::string(VORNELLE_SAMPLES) + "/dxf";
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(samples)) files.push_back(e.path());
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return fs::file_size(a) > fs::file_size(b); });
    for (const fs::path& p : files) measure(p.filename().string(), p.string(), dir);
    measure("generated, 100000 entities", generated(dir), dir);
    fs::remove_all(dir);
}
