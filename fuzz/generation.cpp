// Fuzz target: cut-file generation from an FRA drawing and the machine texts of the
// configuration. An input starting with '#' gives on its first line the scale, the pass
// depth and the X, Y, Z steps per mm, separated by ';'; the rest is the FRA file. The disk
// reports 8 Mo free, so a drawing that would need more must be refused before it writes.
#include "cutfile/generation/generation.h"

#include <string>
#include <vector>

#include "base/files.h"
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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    GenerationInput in;
    in.Text4 = "1";
    in.Text12 = "1";
    in.Text6 = in.Text3 = in.Text5 = "100";
    if (!bytes.empty() && bytes[0] == '#') {
        size_t end = bytes.find('\n');
        std::string head = bytes.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        bytes.erase(0, end == std::string::npos ? bytes.size() : end + 1);
        std::string* texts[] = {&in.Text4, &in.Text12, &in.Text6, &in.Text3, &in.Text5};
        size_t from = 0;
        for (std::string* t : texts) {
            size_t semi = head.find(';', from);
            *t = head.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
            if (semi == std::string::npos) break;
            from = semi + 1;
        }
    }
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
    GenerationResult r = generate(in, folder, pointer);
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
    removeFile(def);
    removeFile(det);
    for (const char* name : kWorkFiles) removeFile(folder + name);
    return 0;
}
