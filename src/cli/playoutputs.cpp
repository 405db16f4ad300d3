// The trace and timing files of `play`; see playoutputs.h.
#include "playoutputs.h"

#include "base/files.h"
#include "base/numbers.h"

namespace vornelle::cli {

std::string playOutputsShortage(uint64_t records, const std::optional<std::string>& trace,
                                const std::optional<std::string>& timing) {
    const uint64_t writes = saturatingSum(saturatingProduct(records, kWritesPerRecord), kExtraWrites);
    if (timing && writes > kMaxTimedWrites)
        return "--timing garde en mémoire le temps de " + std::to_string(kMaxTimedWrites) +
               " écritures au plus, cette découpe en demande " + std::to_string(writes) +
               " : la jouer sans --timing, ou par morceaux avec --stop-after et --resume.";
    struct File {
        const std::optional<std::string>& path;
        uint64_t bytes;
        const char* name;
    };
    const File files[] = {{trace, saturatingProduct(writes, kTraceBytesPerWrite), "trace"},
                          {timing, saturatingProduct(writes, kTimingBytesPerWrite), "des temps"}};
    uint64_t both = 0;
    for (const File& f : files) {
        if (!f.path) continue;
        auto free = freeSpace(*f.path);
        if (!free) return free.error();
        // Two files on one disk share its free space.
        const bool shared = trace && timing && sameFileSystem(*trace, *timing);
        uint64_t need = shared ? (both = saturatingSum(both, f.bytes)) : f.bytes;
        if (need > *free)
            return "Le fichier " + std::string(f.name) + " " + *f.path + " demanderait " +
                   sizeText(f.bytes, true) + (shared && need != f.bytes ? " avec l'autre fichier" : "") +
                   ", il reste " + sizeText(*free, false) + " sur le disque.";
    }
    return {};
}

void WriteTimes::add(Clock::time_point when, uint8_t byte) {
    if (times_.empty()) first_ = when;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(when - first_).count();
    times_.push_back(static_cast<uint64_t>(ns) << 8 | byte);
}

bool WriteTimes::writeTo(std::ofstream& file) const {
    // Out in 1 MB pieces: the text of a long run is several times the size of its times.
    std::string text;
    for (uint64_t t : times_) {
        text += std::to_string(t >> 8);
        text += ' ';
        text += std::to_string(t & 0xFF);
        text += '\n';
        if (text.size() > (1u << 20)) {
            file << text;
            text.clear();
        }
    }
    file << text;
    file.close();
    return static_cast<bool>(file);
}

std::string PlayFiles::open() {
    if (tracePath_) {
        trace_.open(*tracePath_, std::ios::binary | std::ios::trunc);
        if (!trace_) return "Impossible d'écrire le fichier " + *tracePath_;
    }
    if (timingPath_) {
        timing_.open(*timingPath_, std::ios::binary | std::ios::trunc);
        if (!timing_) return "Impossible d'écrire le fichier " + *timingPath_;
    }
    return {};
}

void PlayFiles::follow(SimulatedMachine& machine, VirtualClock* clock) {
    machine.setObserver([this, clock](uint8_t v) {
        if (clock) clock->start();
        if (timingPath_ && clock)
            times_.addNs(clock->now(), v);
        else if (timingPath_)
            times_.add(SimulatedMachine::Clock::now(), v);
        if (tracePath_) {
            traceBuffer_ += std::to_string(v);
            traceBuffer_ += '\n';
            if (traceBuffer_.size() > (1 << 20)) {
                trace_ << traceBuffer_;
                traceBuffer_.clear();
            }
        }
    });
}

std::string PlayFiles::prepare(uint64_t records) {
    if (std::string m = playOutputsShortage(records, tracePath_, timingPath_); !m.empty()) {
        // Refused before the first write: the files opened for it are left empty, removed.
        for (const auto* f : {&tracePath_, &timingPath_})
            if (*f) removeFile(**f);
        return m;
    }
    if (timingPath_) times_.reserve(records * kWritesPerRecord + kExtraWrites);
    return {};
}

std::string PlayFiles::close() {
    if (timing_.is_open() && !times_.writeTo(timing_)) return "Erreur d'écriture du fichier " + *timingPath_;
    if (trace_.is_open()) {
        trace_ << traceBuffer_;
        trace_.close();
        if (!trace_) return "Erreur d'écriture du fichier " + *tracePath_;
    }
    return {};
}

}  // namespace vornelle::cli
