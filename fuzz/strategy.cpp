// Fuzz target: cut-file generation with the cut strategy from an FRA drawing. An input starting
// with '#' gives on its first line, separated by ';', the pass depth, the tool diameter, the
// compensation, the depth per pass, the tab count, width and height and the direction; the rest
// is the FRA file. A refusal leaves nothing; a success leaves a readable cut file and every
// contour counted once: cut outside, inside, on the line or named among those not cut.
#include <string>
#include <vector>

#include "base/files.h"
#include "cutfile/strategy/strategygeneration.h"
#include "fuzzsupport.h"
#include "run/recordreader.h"

using namespace vornelle;

namespace {
struct NoPointer : BusyPointer {
    void setBusy(bool) override {}
};

constexpr uint64_t kFree = 8'000'000;

uint64_t folderBytes() {
    uint64_t total = 0;
    for (const char* name : kWorkFiles)
        if (auto t = readFile(fuzz::folder() + name)) total += t->size();
    return total;
}

// The header's texts into the fields, in order, as far as it goes.
void header(std::string& bytes, const std::vector<std::string*>& texts) {
    if (bytes.empty() || bytes[0] != '#') return;
    size_t end = bytes.find('\n');
    std::string head = bytes.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    bytes.erase(0, end == std::string::npos ? bytes.size() : end + 1);
    size_t from = 0;
    for (std::string* t : texts) {
        size_t semi = head.find(';', from);
        *t = head.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
        if (semi == std::string::npos) break;
        from = semi + 1;
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    GenerationInput in;
    in.Text4 = "1";
    in.Text12 = "3";
    in.Text6 = in.Text3 = in.Text5 = "20";
    StrategyTexts t{"2", "", "1", "2", "2", "1", ""};
    header(bytes, {&in.Text12, &t.diameter, &t.compensation, &t.stepDown, &t.tabs, &t.tabWidth, &t.tabHeight,
                   &t.direction});
    const std::string folder = fuzz::folder();
    in.text1 = fuzz::inputFile("dessin.fra", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    in.Text9 = folder + "piece";
    in.Text7 = "essai";
    in.weights = {"1", "2", "4", "8", "16", "32", "64", "128"};
    in.inversions = {"0", "0", "0"};
    in.Text10 = "20";
    in.Text11 = "50";
    diskLayer().freeSpace = [](const std::string&) -> Outcome<uint64_t> { return kFree; };
    NoPointer pointer;
    StrategyOutcome o = generateWithStrategy(in, t, folder, pointer);
    const GenerationResult& r = o.result;
    const std::string def = in.Text9 + ".def", det = in.Text9 + ".det";
    if (!r.ok) {
        if (r.message.text.empty()) fuzz::broken("message du refus");
        if (fileExists(def) || fileExists(det) || fileExists(def + ".partiel") || folderBytes() != 0)
            fuzz::broken("rien ne reste après un refus", r.message.text);
        return 0;
    }
    if (r.bytesWritten > kFree) fuzz::broken("pas plus que la place libre", std::to_string(r.bytesWritten));
    auto records = checkCutFile(def);
    if (!records || *records != r.ticks) fuzz::broken("fichier découpe lisible, un enregistrement par top");
    const CompensationReport& c = o.summary.report;
    std::vector<int> notCut = c.notCut();
    for (size_t i = 1; i < notCut.size(); ++i)
        if (notCut[i] == notCut[i - 1]) fuzz::broken("une coupe non découpée nommée une fois", r.message.text);
    removeFile(def);
    removeFile(det);
    for (const char* name : kWorkFiles) removeFile(folder + name);
    return 0;
}
