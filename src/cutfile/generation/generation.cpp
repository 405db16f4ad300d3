// Cut-file generation; see generation.h. The hot stages (signal streams and merge) work on
// raw buffers: patterns repeated with memcpy, fields read with a fast path, port bytes
// written from a table of their texts.
#include "generation.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "base/fields.h"
#include "base/files.h"
#include "base/numbers.h"
#include "cutfile/details.h"
#include "drawing/drawing.h"
#include "port/step.h"
#include "streams.h"
#include "base/message.h"

namespace vornelle {
namespace {

using Clock = std::chrono::steady_clock;
double since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

bool endsWith(const std::string& s, const char* e) {
    size_t n = std::char_traits<char>::length(e);
    return s.size() >= n && s.compare(s.size() - n, n, e) == 0;
}

Message refusal(const char* text, const char* title, int st) {
    return {text, title, st};
}

const char* kFailTitle = "Découpe";

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

// Step positions beyond this (in steps from the origin) come from a typing slip in a
// coordinate, the scale or the steps per mm, never from a drawing a machine can cut.
constexpr double kMaxPosition = 2147483647.0;

std::string farPoint(const std::string& fra, long line, char axis, double steps) {
    return std::string(kFraUnusable) + "\n" + fra + ", ligne " + std::to_string(line) + " : le point est à " +
           (std::isfinite(steps) ? numberText(steps, ',') : std::string("plus de 1E+308")) +
           " pas sur l'axe " + axis +
           ", au-delà de la limite de 2147483647 pas. Vérifiez l'échelle, les pas par mm et les coordonnées.";
}

// Bytes per tick of the eight signal files: "0" CR LF for a direction, "\"0\"" CR LF for a clock.
constexpr uint64_t kWorkBytesPerTick = 4 * 3 + 4 * 5;

// Bytes per tick of the cut file at most: the widest port byte the weights can make, CR LF.
uint64_t cutBytesPerTick(const int (&weight)[8]) {
    long widest = 0;
    for (int w : weight) widest += w > 0 ? w : 0;
    return std::to_string(widest).size() + 2;
}

// The refusal when the cut file or the work files would not fit, else empty.
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

}  // namespace

std::string clockStream(uint64_t m, uint64_t n) {
    std::string out;
    if (n == 0) return std::string(m, '0');
    spreadSteps(
        m, n, [&out](uint64_t k) { out.append(k, '0'); }, [&out] { out += '1'; });
    return out;
}

GenerationResult generate(const GenerationInput& in, const std::string& work, BusyPointer& busy) {
    GenerationResult r;
    // 1. Validation, in this order.
    if (endsWith(in.Text9, "def")) {
        r.message =
            refusal("Ne pas mettre d'extension au nom de fichier", "Nom fichier ", style::kQuestionOk);
        return r;
    }
    if (in.Text7.empty()) {
        r.message = refusal("Descriptif vide ?", "descriptif", style::kExclamationOk);
        return r;
    }
    if (in.text1.empty()) {
        r.message =
            refusal("Saisie du nom de fichier des coordonnées ?", "Nom fichier ?", style::kQuestionOk);
        return r;
    }
    if (in.Text9.empty()) {
        r.message = refusal("Saisie du nom de fichier de decoupe ?", "Nom fichier ?", style::kQuestionOk);
        return r;
    }
    if (in.Text9 == in.text1) {
        r.message =
            refusal("les noms de fichiers doivent être differents !", "Nom fichier ?", style::kStopOk);
        return r;
    }
    if (in.Text12.empty()) {
        r.message = refusal("Saisie de la valeur de descente d'outil ?", "Nom fichier ?", style::kQuestionOk);
        return r;
    }
    if (in.Text4.empty()) {
        r.message = refusal("Saisie incomplete ?", "Saisie", style::kStopOk);
        return r;
    }
    const std::string det = in.Text9 + ".det";
    const std::string def = in.Text9 + ".def";
    // An existing cut file would otherwise get the new ticks appended to its own.
    if (fileExists(det) || fileExists(def)) {
        r.message = refusal("Nom de fichier découpe deja utilisé !", "Nom", style::kStopOk);
        return r;
    }
    // Conversions of the machine fields, before anything is written.
    const double scale = leadingNumberOr0(in.Text4);
    const double depth = leadingNumberOr0(in.Text12);
    double spmm[3];
    const std::string* spmmTexts[3] = {&in.Text6, &in.Text3, &in.Text5};
    for (int a = 0; a < 3; ++a) {
        auto v = decimalValue(*spmmTexts[a]);
        if (!v) {
            r.message = {"Nombre de pas par mm de l'axe " + std::string(1, "XYZ"[a]) + " illisible : " +
                             quotedText(*spmmTexts[a]) + ". Vérifiez la configuration.",
                         kFailTitle, style::kStopOk};
            return r;
        }
        spmm[a] = *v;
    }
    int weight[8];
    for (int i = 0; i < 8; ++i) {
        // A weight such as 1e300 or 3 would write bytes that drive no line, or several.
        auto w = signalWeight(in.weights[i], "n°" + std::to_string(i + 1));
        if (!w) {
            r.message = {w.error() + " Vérifiez la configuration.", kFailTitle, style::kStopOk};
            return r;
        }
        weight[i] = *w;
    }
    bool invert[3];
    for (int a = 0; a < 3; ++a) {
        auto v = decimalValue(in.inversions[a]);
        if (!v) {
            r.message = {"Inversion de l'axe " + std::string(1, "XYZ"[a]) + " illisible : " +
                             quotedText(in.inversions[a]) + ". Vérifiez la configuration.",
                         kFailTitle, style::kStopOk};
            return r;
        }
        invert[a] = *v == 1;
    }

    // 2. Details file, field 7 being the cut file name.
    Details d;
    d.fields = {in.Text10, in.text1, in.Text4,  in.Text6, in.Text7,
                in.Text11, def,      in.Text12, in.Text3, in.Text5};
    if (Status s = writeDetails(det, d); !s) {
        removeFile(det);  // created before the write failed
        r.message = {s.message + "\nAucun fichier découpe n'a été créé.", kFailTitle, style::kStopOk};
        return r;
    }

    BusyGuard hourglass(busy);
    const std::string tempDef = def + ".partiel";
    auto fail = [&](const std::string& why) {
        removeFile(tempDef);
        removeFile(det);
        // Work files of a failed generation can be as large as the disk: none is kept.
        for (const char* name : kWorkFiles) removeFile(work + name);
        r.ok = false;
        r.message = {why + "\nAucun fichier découpe n'a été créé.", kFailTitle, style::kStopOk};
        return r;
    };
    auto wpath = [&work](int i) { return work + kWorkFiles[i]; };
    uint64_t planned = 0;  // ticks of the cut file, from the segments

    // 3. Work files start empty.
    for (int i = 0; i < 10; ++i) {
        if (Status s = removeFile(wpath(i)); !s) return fail(s.message);
    }

    // 4. Scaled points.
    auto t0 = Clock::now();
    {
        auto fra = FieldReader::open(in.text1);
        if (!fra) return fail("Le fichier FRA " + in.text1 + " est illisible.");
        auto prem = FieldWriter::append(wpath(8));
        if (!prem) return fail(prem.error());
        std::string fx, fy, fz;
        long record = 0;
        do {
            long line = fra->line();
            if (!fra->next(fx) || !fra->next(fy) || !fra->next(fz))
                return fail(std::string(kFraUnusable) + "\n" + in.text1 + ", ligne " +
                            std::to_string(fra->line()) + " : " +
                            (fra->fieldTooLong() ? "champ de plus de 1 Mo." : "enregistrement incomplet."));
            ++record;
            auto x = coordinateValue(fx), y = coordinateValue(fy), z = decimalValue(fz);
            if (!x || !y || !z) {
                const std::string& bad = !x ? fx : !y ? fy : fz;
                return fail(std::string(kFraUnusable) + "\n" + in.text1 + ", ligne " + std::to_string(line) +
                            " : " + quotedText(bad) + " n'est pas un nombre.");
            }
            const double steps[3] = {(scale * *x) * spmm[0], (scale * *y) * spmm[1], (depth * *z) * spmm[2]};
            for (int a = 0; a < 3; ++a) {
                if (!(std::fabs(steps[a]) <= kMaxPosition))
                    return fail(farPoint(in.text1, line, "XYZ"[a], steps[a]));
                prem->number(steps[a]);
            }
            prem->integer(0);
            prem->endRecord();
        } while (!fra->atEnd());
        if (!fra->error().empty()) return fail(fra->error());
        if (Status s = prem->close(); !s) return fail(s.message);
        if (record < 2)
            return fail("Le fichier FRA " + in.text1 + " ne contient qu'un point : rien à découper.");
    }
    r.stageSeconds[0] = since(t0);

    // 5. Segments between the points rounded to the nearest step.
    t0 = Clock::now();
    {
        FieldStream prem;
        if (Status s = prem.open(wpath(8)); !s) return fail(s.message);
        auto objet = FieldWriter::append(wpath(9));
        if (!objet) return fail(objet.error());
        double p[4], q[4];
        planned = 0;
        for (double& v : p)
            if (!prem.next(v)) return fail("Fichier de travail prem illisible : " + prem.error());
        do {
            for (double& v : q)
                if (!prem.next(v)) return fail("Fichier de travail prem illisible : " + prem.error());
            double longest = 0;
            for (int c = 0; c < 4; ++c) {
                const double n = std::fabs(roundHalfEven(q[c]) - roundHalfEven(p[c]));
                objet->integer(q[c] < p[c] ? 1 : 0);
                objet->number(n);
                longest = std::max(longest, n);
            }
            // Positions are bounded, so a segment holds fewer than 2^32 ticks and the sum
            // cannot wrap before 2^31 segments.
            planned += static_cast<uint64_t>(longest);
            objet->endRecord();
            for (int c = 0; c < 4; ++c) p[c] = q[c];
        } while (!prem.atEnd());
        if (Status s = objet->close(); !s) return fail(s.message);
    }
    r.stageSeconds[1] = since(t0);

    // Every size is known now: refuse before the streams rather than fill the disk.
    if (std::string why = spaceShortage(planned, work, def, weight); !why.empty()) return fail(why);

    // 6. Signal streams: per segment, m ticks in every file.
    t0 = Clock::now();
    {
        FieldStream objet;
        if (Status s = objet.open(wpath(9)); !s) return fail(s.message);
        PatternWriter bits[8];
        for (int i = 0; i < 8; ++i)
            if (Status s = bits[i].open(wpath(i)); !s) return fail(s.message);
        static constexpr std::string_view dir0 = "0\r\n", dir1 = "1\r\n", clk0 = "\"0\"\r\n",
                                          clk1 = "\"1\"\r\n";
        do {
            double f[8];
            for (double& v : f)
                if (!objet.next(v)) return fail("Fichier de travail objet illisible : " + objet.error());
            double mm = 0;
            for (int c = 0; c < 4; ++c) mm = std::max(mm, f[2 * c + 1]);
            auto m = static_cast<uint64_t>(mm);
            if (m == 0) continue;
            r.ticks += m;
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
            if (Status s = bits[i].close(); !s) return fail(s.message);
            r.bytesWritten += bits[i].bytesWritten();
        }
    }
    r.stageSeconds[2] = since(t0);
    if (r.ticks == 0)
        return fail("Le dessin ne produit aucun déplacement de la machine (tous ses points se confondent).");

    // 7. Merge into the cut file, under a temporary name until it is complete.
    t0 = Clock::now();
    {
        FieldStream bits[8];
        for (int i = 0; i < 8; ++i)
            if (Status s = bits[i].open(wpath(i)); !s) return fail(s.message);
        PatternWriter out;
        if (Status s = out.open(tempDef); !s) return fail(s.message);
        std::string texts[256];
        for (int v = 0; v < 256; ++v) texts[v] = std::to_string(v) + "\r\n";
        uint64_t written = 0;
        do {
            double sig[8];
            for (int i = 0; i < 8; ++i)
                if (!bits[i].next(sig[i]))
                    return fail("Fichier de travail " + std::string(kWorkFiles[i]) +
                                " illisible : " + bits[i].error());
            long value = 0;
            for (int i = 0; i < 8; ++i) {
                double v = sig[i];
                if (i % 2 == 0 && i < 6 && invert[i / 2]) v = v == 0 ? 1 : 0;
                value += static_cast<long>(v * weight[i]);
            }
            if (value >= 0 && value < 256) {
                out.append(texts[value]);
            } else {
                out.append(std::to_string(value) + "\r\n");
            }
            ++written;
        } while (!bits[0].atEnd());
        if (Status s = out.close(); !s) return fail(s.message);
        r.bytesWritten += out.bytesWritten();
        if (written != r.ticks)
            return fail("Fichiers de travail incohérents : " + std::to_string(written) + " tops lus pour " +
                        std::to_string(r.ticks) + " écrits.");
        if (renamePath(tempDef, def) != 0)
            return fail("Impossible de nommer le fichier découpe " + def + " : " + systemReason(errno) + ".");
    }
    r.stageSeconds[3] = since(t0);

    r.ok = true;
    r.defPath = def;
    r.detPath = det;
    r.message = {"Fichier découpe créé avec succés", "Découpe", style::kStopOk};
    return r;
}

}  // namespace vornelle
