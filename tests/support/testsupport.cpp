// Test helpers; see testsupport.h.
#include "testsupport.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vornelle::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vornelle-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
    path_ = tmpl + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
}

Button ScriptedDialogs::message(const std::string& text, int style, const std::string& title) {
    calls.push_back({text, style, title});
    if ((style & 7) != 4) return Button::Ok;
    if (answers.empty()) return Button::Yes;
    Button b = answers.front();
    answers.pop_front();
    return b;
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> t;
    for (const DialogCall& c : calls) t.push_back(c.text);
    return t;
}

std::optional<std::string> ScriptedDialogs::inputBox(const std::string& prompt, const std::string&,
                                                     const std::string& initial) {
    prompts.push_back(prompt);
    if (inputs.empty()) return initial;
    auto v = inputs.front();
    inputs.pop_front();
    return v;
}

std::string RecordingNavigator::name(PageId p) {
    switch (p) {
        case PageId::Dessin:
            return "dessin";
        case PageId::Mach:
            return "Mach";
        case PageId::Configuration:
            return "configuration";
        case PageId::Form5:
            return "form5";
        case PageId::Form2:
            return "Form2";
        case PageId::Decencours:
            return "decencours";
        case PageId::Form7:
            return "Form7";
    }
    return "?";
}

std::string sample(const std::string& name) {
    return std::string(SAMPLES_DIR) + "/" + name;
}

std::string squareSample() {
    return sample("dxf/gh-skymakerolof-dxf__squareandcircle.dxf");
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

FaultyDisk::FaultyDisk() : saved_(diskLayer()) {
    diskLayer().fault = [this](DiskLayer::Op op, const std::string& path, uint64_t bytes) {
        int e = 0;
        if (op == DiskLayer::Op::Create && !lockedFolder.empty() && path.rfind(lockedFolder, 0) == 0)
            e = EACCES;
        else if (op == DiskLayer::Op::Rename && failRename)
            e = EIO;
        else if (op == DiskLayer::Op::Write && fullAfter && written + bytes > *fullAfter)
            e = ENOSPC;
        if (e != 0) {
            ++faults;
            return e;
        }
        if (op == DiskLayer::Op::Write) written += bytes;
        return 0;
    };
    diskLayer().freeSpace = [this](const std::string& path) -> Outcome<uint64_t> {
        if (free) return *free;
        DiskLayer real;
        std::swap(real, diskLayer());
        auto f = freeSpace(path);
        std::swap(real, diskLayer());
        return f;
    };
}

FaultyDisk::~FaultyDisk() {
    diskLayer() = saved_;
}

}  // namespace vornelle::test
