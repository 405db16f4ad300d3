// The rigs of the generation and run tests: the sample saved as FRA, the generation's input
// and the run's session on a cut file; see cutfilerig.h.
#include "cutfilerig.h"

#include <filesystem>

#include "drawing/drawing.h"
#include "drawing/import/dxfimport.h"

namespace vornelle::test {

::testing::AssertionResult saveSquareFra(const std::string& work, const std::string& fra) {
    Drawing d;
    ImportResult imp = importDxf(squareSample(), work, d);
    if (!imp.ok) return ::testing::AssertionFailure() << imp.message.text;
    if (Status s = writeFra(d, fra); !s) return ::testing::AssertionFailure() << s.message;
    return ::testing::AssertionSuccess();
}

GenerationRig::GenerationRig() {
    work = dir.file("work/");
    std::filesystem::create_directories(work);
    in.text1 = dir.file("d.fra");
    in.Text9 = dir.file("piece");
    in.Text7 = "note";
    in.Text4 = "1";
    in.Text12 = "1";
    in.Text6 = in.Text3 = in.Text5 = "1";
    in.weights = {"1", "2", "4", "8", "16", "32", "64", "128"};
    in.inversions = {"0", "0", "0"};
    in.Text10 = "20";
    in.Text11 = "10";
}

void writeCut(const std::string& path, const std::vector<int>& records) {
    std::string s;
    for (int r : records) s += std::to_string(r) + "\r\n";
    spit(path, s);
}

RunSession::RunSession(const std::string& cut) {
    host.f.Text9 = cut;
    host.f.Text10 = "20";
    host.f.Text11 = "90";
    host.f.Text2 = "0,01";
    host.f.Text5 = "10";
    host.f.Text8 = "2";
    host.f.weights = {"1", "2", "4", "8", "16", "32", "64", "128"};
}

}  // namespace vornelle::test
