// DXF import and save: entities per second for a generated file of 100,000 entities (lines,
// circles and polylines with their vertices) and for the largest sample.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "drawing/import/dxfimport.h"
#include "drawing/save.h"

namespace {
namespace fs = std::filesystem;

void measure(const std::string& label, const std::string& path, long entities, const fs::path& dir) {
    auto t0 = std::chrono::steady_clock::now();
    vornelle::Drawing d;
    vornelle::ImportResult r = vornelle::importDxf(path, (dir / "").string(), d);
    auto t1 = std::chrono::steady_clock::now();
    vornelle::DrawingShared shared;
    fs::remove(dir / "out.fra");
    vornelle::SaveResult s = vornelle::saveDrawing(d, (dir / "out").string(), shared);
    auto t2 = std::chrono::steady_clock::now();
    double imp = std::chrono::duration<double>(t1 - t0).count(),
           save = std::chrono::duration<double>(t2 - t1).count();
    std::printf("%s: %ld entities, %zu records, %s cuts; import %.3f s, save %.3f s; %.0f entities/s%s\n",
                label.c_str(), entities, d.size(), d.Text3.c_str(), imp, save, entities / (imp + save),
                r.ok && s.ok ? "" : "  (FAILED)");
}
}  // namespace

int main(int argc, char** argv) {
    fs::path dir = fs::temp_directory_path() / "vornelle-import-bench";
    fs::create_directories(dir);
    std::string big = (dir / "big.dxf").string();
    long entities = 0;
    {
        std::ofstream f(big, std::ios::binary);
        f << "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
        for (int i = 0; entities < 100000; ++i) {
            double x = (i % 100) * 12.5, y = (i / 100) * 7.25;
            if (i % 3 == 0) {
                f << "  0\r\nLINE\r\n  8\r\n0\r\n 62\r\n3\r\n 10\r\n"
                  << x << "\r\n 20\r\n"
                  << y << "\r\n 30\r\n0.0\r\n 11\r\n"
                  << x + 5 << "\r\n 21\r\n"
                  << y + 2.5 << "\r\n 31\r\n0.0\r\n";
                ++entities;
            } else if (i % 3 == 1) {
                f << "  0\r\nCIRCLE\r\n  8\r\n0\r\n 10\r\n"
                  << x << "\r\n 20\r\n"
                  << y << "\r\n 30\r\n0.0\r\n 40\r\n2.5\r\n";
                ++entities;
            } else {
                f << "  0\r\nPOLYLINE\r\n  8\r\n0\r\n 66\r\n1\r\n 70\r\n1\r\n";
                for (int k = 0; k < 8; ++k)
                    f << "  0\r\nVERTEX\r\n  8\r\n0\r\n 10\r\n"
                      << x + k << "\r\n 20\r\n"
                      << y + (k % 2) << "\r\n";
                f << "  0\r\nSEQEND\r\n";
                entities += 10;
            }
        }
        f << "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    }
    measure("generated", big, entities, dir);
    std::string sample =
        argc > 1 ? argv[1] : std::string(VORNELLE_SAMPLES) + "/dxf/gen-ezdxf__r12_rib_nest_large.dxf";
    // 160 POLYLINE + 15150 VERTEX + 160 SEQEND + 160 CIRCLE + 160 LINE, as the samples' notes say.
    measure("largest sample", sample, 160 + 15150 + 160 + 160 + 160, dir);
    fs::remove_all(dir);
}
