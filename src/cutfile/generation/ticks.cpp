// The generation's tick stages: the eight signal streams of one field per tick of the step
// clock, and their merge into the cut file's port bytes; with the disk space they need, known
// from the segments before the first tick is written. The hot loops work on raw buffers:
// patterns repeated with memcpy, fields read with a fast path, port bytes from a table.
#include <cmath>

#include "base/files.h"
#include "base/numbers.h"
#include "stages.h"
#include "streams.h"

namespace vornelle {
namespace {

// Spacing of the steps of a channel: m / n with 15 significant digits, as written and read
// back as text.
double spacing(uint64_t m, uint64_t n) {
    double s = static_cast<double>(m) / static_cast<double>(n);
    return *leadingNumber(numberText(s, '.'));
}

// Calls zeros(k) and one() for the clock of a channel: n steps spread over m ticks, the k-th
// step on the tick floor(k*s) of the accumulated spacing.
template <class Zeros, class One>
void spreadSteps(uint64_t m, uint64_t n, Zeros zeros, One one) {
    double s = spacing(m, n);
    double a = s;
    auto fa = static_cast<uint64_t>(std::floor(a));
    zeros(fa - 1);
    one();
    uint64_t t = fa + 1;
    while (t != m + 1) {
        a += s;
        fa = static_cast<uint64_t>(std::floor(a));
        if (fa <= m) {
            zeros(fa - t);
            one();
            t = fa + 1;
        } else {
            zeros(m + 1 - t);
            t = m + 1;
        }
    }
}

// Bytes per tick of the eight signal files: "0" CR LF for a direction, "\"0\"" CR LF for a clock.
constexpr uint64_t kWorkBytesPerTick = 4 * 3 + 4 * 5;

// Bytes per tick of the cut file at most: the widest port byte the weights can make, CR LF.
uint64_t cutBytesPerTick(const int (&weight)[8]) {
    long widest = 0;
    for (int w : weight) widest += w > 0 ? w : 0;
    return std::to_string(widest).size() + 2;
}

}  // namespace

std::string clockStream(uint64_t m, uint64_t n) {
    std::string out;
    if (n == 0) return std::string(m, '0');
    spreadSteps(
        m, n, [&out](uint64_t k) { out.append(k, '0'); }, [&out] { out += '1'; });
    return out;
}

std::string spaceShortage(uint64_t ticks, const std::string& work, const std::string& def,
                          const int (&weight)[8]) {
    const uint64_t cut = saturatingProduct(ticks, cutBytesPerTick(weight)),
                   streams = saturatingProduct(ticks, kWorkBytesPerTick);
    const bool shared = sameFileSystem(work, def);
    auto cutFree = freeSpace(def);
    if (!cutFree) return cutFree.error();
    const uint64_t need = shared ? saturatingSum(cut, streams) : cut;
    if (need > *cutFree) {
        if (cut > *cutFree || !shared)
            return "Le fichier découpe demanderait " + sizeText(cut, true) + ", il reste " +
                   sizeText(*cutFree, false) + " sur le disque.";
        return "Le fichier découpe demanderait " + sizeText(cut, true) + " et ses fichiers de travail " +
               sizeText(streams, true) + ", il reste " + sizeText(*cutFree, false) + " sur le disque.";
    }
    if (shared) return {};
    auto workFree = freeSpace(work);
    if (!workFree) return workFree.error();
    if (streams > *workFree)
        return "Les fichiers de travail demanderaient " + sizeText(streams, true) + ", il reste " +
               sizeText(*workFree, false) + " sur le disque du dossier " + work + ".";
    return {};
}

std::string writeSignalStreams(const std::string& objetPath, const std::string& bitsPath, uint64_t& ticks,
                               uint64_t& bytes) {
    FieldStream objet;
    if (Status s = objet.open(objetPath); !s) return s.message;
    PatternWriter bits[8];
    for (int i = 0; i < 8; ++i)
        if (Status s = bits[i].open(bitsPath + kWorkFiles[i]); !s) return s.message;
    static constexpr std::string_view dir0 = "0\r\n", dir1 = "1\r\n", clk0 = "\"0\"\r\n", clk1 = "\"1\"\r\n";
    do {
        double f[8];
        for (double& v : f)
            if (!objet.next(v)) return "Fichier de travail objet illisible : " + objet.error();
        double mm = 0;
        for (int c = 0; c < 4; ++c) mm = std::max(mm, f[2 * c + 1]);
        auto m = static_cast<uint64_t>(mm);
        if (m == 0) continue;
        ticks += m;
        for (int c = 0; c < 4; ++c) {
            PatternWriter& dir = bits[2 * c];
            PatternWriter& clk = bits[2 * c + 1];
            dir.repeat(f[2 * c] == 1 ? dir1 : dir0, m);
            auto n = static_cast<uint64_t>(f[2 * c + 1]);
            if (n == 0) {
                clk.repeat(clk0, m);
            } else {
                spreadSteps(
                    m, n, [&clk](uint64_t k) { clk.repeat(clk0, k); }, [&clk] { clk.append(clk1); });
            }
        }
    } while (!objet.atEnd());
    for (int i = 0; i < 8; ++i) {
        if (Status s = bits[i].close(); !s) return s.message;
        bytes += bits[i].bytesWritten();
    }
    return {};
}

std::string mergeCutFile(const std::string& bitsPath, const MachineFields& m, const std::string& path,
                         uint64_t ticks, uint64_t& bytes) {
    FieldStream bits[8];
    for (int i = 0; i < 8; ++i)
        if (Status s = bits[i].open(bitsPath + kWorkFiles[i]); !s) return s.message;
    PatternWriter out;
    if (Status s = out.open(path); !s) return s.message;
    std::string texts[256];
    for (int v = 0; v < 256; ++v) texts[v] = std::to_string(v) + "\r\n";
    uint64_t written = 0;
    do {
        double sig[8];
        for (int i = 0; i < 8; ++i)
            if (!bits[i].next(sig[i]))
                return "Fichier de travail " + std::string(kWorkFiles[i]) + " illisible : " + bits[i].error();
        long value = 0;
        for (int i = 0; i < 8; ++i) {
            double v = sig[i];
            if (i % 2 == 0 && i < 6 && m.invert[i / 2]) v = v == 0 ? 1 : 0;
            value += static_cast<long>(v * m.weight[i]);
        }
        if (value >= 0 && value < 256) {
            out.append(texts[value]);
        } else {
            out.append(std::to_string(value) + "\r\n");
        }
        ++written;
    } while (!bits[0].atEnd());
    if (Status s = out.close(); !s) return s.message;
    bytes += out.bytesWritten();
    if (written != ticks)
        return "Fichiers de travail incohérents : " + std::to_string(written) + " tops lus pour " +
               std::to_string(ticks) + " écrits.";
    return {};
}

}  // namespace vornelle
