// The strategy's settings in the details file; see strategydetails.h.
#include "strategydetails.h"

#include "base/fields.h"
#include "base/files.h"

namespace vornelle {
namespace {

// The field that opens the settings after the ten classic ones.
constexpr const char* kMark = "strategie";

std::string* fieldsOf(StrategyTexts& t, size_t i) {
    std::string* all[] = {&t.diameter, &t.compensation, &t.stepDown, &t.tabs,
                          &t.tabWidth, &t.tabHeight,    &t.direction};
    return all[i];
}
constexpr size_t kCount = 7;

}  // namespace

std::string strategyDetailsRecord(const Details& d, const StrategyTexts& t) {
    FieldWriter w;
    for (const std::string& f : d.fields) w.text(f);
    if (t.any()) {
        w.text(kMark);
        StrategyTexts copy = t;
        for (size_t i = 0; i < kCount; ++i) w.text(*fieldsOf(copy, i));
    }
    w.endRecord();
    return w.contents();
}

std::optional<StrategyTexts> readStrategyDetails(const std::string& path) {
    auto text = readFile(path);
    if (!text) return std::nullopt;
    FieldReader r(*text);
    std::string field;
    for (int i = 0; i < 10; ++i)
        if (!r.next(field)) return std::nullopt;
    if (r.atEnd() || !r.next(field) || field != kMark) return std::nullopt;
    StrategyTexts t;
    for (size_t i = 0; i < kCount; ++i)
        if (!r.next(*fieldsOf(t, i))) return std::nullopt;
    return t;
}

}  // namespace vornelle
