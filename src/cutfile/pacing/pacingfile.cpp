// The pacing file's writer, reader and stamp; see pacingfile.h.
#include "pacingfile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "base/files.h"
#include "base/numbers.h"

namespace vornelle {
namespace {

const char* kHeader = "RYTHME 1";

std::string hex16(uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

template <class T>
bool whole(std::string_view t, T& v, int base = 10) {
    if (t.empty()) return false;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, base);
    return ec == std::errc() && end == t.data() + t.size();
}

// One "COUNT FACTOR FEED" line; false when it is not one.
bool readRun(std::string_view line, PacingRun& r) {
    size_t a = line.find(' '), b = line.find(' ', a == std::string_view::npos ? a : a + 1);
    if (a == std::string_view::npos || b == std::string_view::npos) return false;
    std::string_view count = line.substr(0, a), factor = line.substr(a + 1, b - a - 1),
                     feed = line.substr(b + 1);
    auto [end, ec] = std::from_chars(factor.data(), factor.data() + factor.size(), r.factor);
    if (!whole(count, r.count) || r.count == 0 || ec != std::errc() || end != factor.data() + factor.size() ||
        !(r.factor >= 1) || !std::isfinite(r.factor) || (feed.size() != 1 && feed.size() != 3) ||
        (feed[0] != 'M' && feed[0] != 'H') || (feed.size() == 3 && feed.substr(1) != " P"))
        return false;
    r.feed = static_cast<PacingFeed>(feed[0]);
    r.pauseAfter = feed.size() == 3;
    return true;
}

}  // namespace

uint64_t fnv1a(uint64_t hash, const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
    return hash;
}

Outcome<CutStamp> cutStampOf(const std::string& def) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(def.c_str(), "rb"), &std::fclose);
    if (!f) return Failure{"Le fichier découpe " + def + " est illisible."};
    CutStamp s;
    s.digest = kFnvStart;
    char chunk[1 << 16];
    size_t got;
    char last = '\n';
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        s.digest = fnv1a(s.digest, chunk, got);
        for (size_t i = 0; i < got; ++i) s.records += chunk[i] == '\n';
        last = chunk[got - 1];
    }
    if (std::ferror(f.get())) return Failure{"Le fichier découpe " + def + " est illisible."};
    if (last != '\n') ++s.records;  // a last record without its line end
    return s;
}

std::string pacingText(const Pacing& p) {
    std::string t = std::string(kHeader) + "\r\nrecords=" + std::to_string(p.cut.records) +
                    " digest=" + hex16(p.cut.digest) + "\r\n";
    for (size_t i = 0; i < p.runs.size();) {
        PacingRun r = p.runs[i];
        for (++i; !r.pauseAfter && i < p.runs.size() && p.runs[i].factor == r.factor && p.runs[i].feed == r.feed;
             ++i) {
            r.count += p.runs[i].count;
            r.pauseAfter = p.runs[i].pauseAfter;
        }
        t += std::to_string(r.count) + " " + numberText(r.factor, '.') + " " + static_cast<char>(r.feed) +
             (r.pauseAfter ? " P" : "") + "\r\n";
    }
    return t;
}

void markPauses(std::vector<PacingRun>& runs, const std::vector<uint64_t>& afterRecords) {
    std::vector<PacingRun> out;
    size_t k = 0;
    uint64_t at = 0;  // records before the run being copied
    for (PacingRun r : runs) {
        while (k < afterRecords.size() && afterRecords[k] <= at) ++k;  // 0, or already marked
        while (k < afterRecords.size() && afterRecords[k] <= at + r.count) {
            PacingRun head = r;
            head.count = afterRecords[k] - at;
            head.pauseAfter = true;
            out.push_back(head);
            r.count -= head.count;
            at += head.count;
            ++k;
        }
        if (r.count > 0) out.push_back(r);
        at += r.count;
    }
    runs = std::move(out);
}

Status writePacing(const std::string& path, const Pacing& p) {
    return replaceFile(path, pacingText(p));
}

Outcome<Pacing> readPacing(const std::string& path) {
    auto text = readFile(path);
    if (!text) return Failure{text.error()};
    const std::string bad = "Le fichier de rythme " + path + " est abîmé";
    Pacing p;
    std::string_view rest = *text;
    long number = 0;
    uint64_t sum = 0;
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number;
        const std::string where = bad + " (ligne " + std::to_string(number) + ").";
        if (number == 1) {
            if (line != kHeader) return Failure{where};
        } else if (number == 2) {
            const std::string_view r = "records=", d = " digest=";
            size_t at = line.find(d);
            if (line.substr(0, r.size()) != r || at == std::string_view::npos ||
                !whole(line.substr(r.size(), at - r.size()), p.cut.records) ||
                line.size() != at + d.size() + 16 || !whole(line.substr(at + d.size()), p.cut.digest, 16))
                return Failure{where};
        } else {
            PacingRun run;
            if (!readRun(line, run) || run.count > UINT64_MAX - sum) return Failure{where};
            sum += run.count;
            p.runs.push_back(run);
        }
    }
    if (number < 2 || sum != p.cut.records)
        return Failure{bad + " : ses tops ne font pas les " + std::to_string(p.cut.records) +
                       " enregistrements."};
    return p;
}

std::string pacingMismatch(const Pacing& p, const std::string& def) {
    auto s = cutStampOf(def);
    if (!s) return s.error();
    if (s->records != p.cut.records || s->digest != p.cut.digest)
        return "Le fichier de rythme n'est pas celui du fichier découpe " + def + " (il a changé depuis).";
    return {};
}

}  // namespace vornelle
