// Idle ticks and the feed comparison; see gcodeticks.h. The cut file is read line by line in
// pieces of 64 KB, so its length does not matter.
#include "gcodeticks.h"

#include <cstdio>
#include <memory>

#include "base/files.h"
#include "cutfile/generation/streams.h"

namespace vornelle {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Calls `line` with each record's text (line end removed) and `bytes` with the raw bytes
// read; false when the file cannot be read. Templates: called once per tick.
template <class Line, class Bytes>
bool eachRecord(const std::string& path, Line line, Bytes bytes) {
    File f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    std::string partial;
    char chunk[1 << 16];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        bytes(chunk, got);
        size_t start = 0;
        for (size_t i = 0; i < got; ++i) {
            if (chunk[i] != '\n') continue;
            std::string_view piece(chunk + start, i - start);
            if (!partial.empty()) partial.append(piece), piece = partial;
            if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
            line(piece);
            partial.clear();
            start = i + 1;
        }
        partial.append(chunk + start, got - start);
    }
    if (!partial.empty()) line(partial);
    return !std::ferror(f.get());
}

int recordValue(std::string_view t) {
    int v = 0;
    for (char c : t) v = v * 10 + (c - '0');
    return v;
}

}  // namespace

std::vector<PacingRun> withIdle(const std::vector<PacingRun>& needs, const std::vector<IdleTicks>& idle) {
    std::vector<PacingRun> out;
    auto add = [&out](uint64_t count, PacingFeed feed) {
        if (count == 0) return;
        if (!out.empty() && out.back().feed == feed)
            out.back().count += count;
        else
            out.push_back({count, 1, feed});
    };
    uint64_t at = 0;  // ticks of `needs` passed
    size_t k = 0;
    for (const PacingRun& r : needs) {
        uint64_t left = r.count;
        for (; k < idle.size() && idle[k].afterTick <= at + left; ++k) {
            add(idle[k].afterTick - at, r.feed);
            left -= idle[k].afterTick - at;
            at = idle[k].afterTick;
            add(idle[k].count, PacingFeed::In);
        }
        add(left, r.feed);
        at += left;
    }
    for (; k < idle.size(); ++k) add(idle[k].count, PacingFeed::In);
    return out;
}

std::string insertIdleTicks(const std::string& def, const std::vector<IdleTicks>& idle, int dirMask,
                            int firstIdle, uint64_t& ticks) {
    if (idle.empty()) return {};
    const std::string temp = def + ".partiel";
    PatternWriter out;
    if (Status s = out.open(temp); !s) return s.message;
    uint64_t at = 0;
    size_t k = 0;
    std::string idleText = std::to_string(firstIdle) + "\r\n";
    auto flushIdle = [&] {
        for (; k < idle.size() && idle[k].afterTick == at; ++k) {
            out.repeat(idleText, idle[k].count);
            ticks += idle[k].count;
        }
    };
    bool read = eachRecord(
        def,
        [&](std::string_view r) {
            flushIdle();
            out.append(r);
            out.append("\r\n");
            idleText = std::to_string(recordValue(r) & dirMask) + "\r\n";
            ++at;
        },
        [](const char*, size_t) {});
    flushIdle();
    Status closed = out.close();
    if (!read || !closed || renamePath(temp, def) != 0) {
        removeFile(temp);
        return read ? (closed ? "Impossible de remplacer le fichier découpe " + def + "." : closed.message)
                    : "Le fichier découpe " + def + " est illisible.";
    }
    return {};
}

std::string compareFeeds(const std::string& def, const std::vector<PacingRun>& needs, RunFeedTracker run,
                         CutStamp& stamp, bool& differs) {
    stamp = {0, kFnvStart};
    differs = false;
    size_t k = 0;
    uint64_t left = needs.empty() ? 0 : needs[0].count;
    bool read = eachRecord(
        def,
        [&](std::string_view r) {
            ++stamp.records;
            while (left == 0 && k + 1 < needs.size()) left = needs[++k].count;
            const PacingFeed chosen = run.next(recordValue(r));
            if (left == 0 || chosen != needs[k].feed) differs = true;
            if (left > 0) --left;
        },
        [&](const char* data, size_t size) { stamp.digest = fnv1a(stamp.digest, data, size); });
    if (!read) return "Le fichier découpe " + def + " est illisible.";
    return {};
}

}  // namespace vornelle
