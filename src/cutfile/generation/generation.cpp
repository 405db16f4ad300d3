// Cut-file generation; see generation.h. generate() runs the checks, writes the details file,
// then the stages of stages.h one after the other, timing each; any failure after the checks
// leaves no cut file, no details file and no work file.
#include "generation.h"

#include <cerrno>
#include <chrono>

#include "base/fields.h"
#include "base/files.h"
#include "cutfile/details.h"
#include "run/runengine.h"
#include "stages.h"

namespace vornelle {
namespace {

using Clock = std::chrono::steady_clock;
double since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

const char* kFailTitle = "Découpe";

// Times a stage into `seconds`; the stage's failure message, empty on success.
template <class Stage>
std::string timed(double& seconds, Stage stage) {
    auto t0 = Clock::now();
    std::string why = stage();
    seconds = since(t0);
    return why;
}

}  // namespace

Details detailsOf(const GenerationInput& in) {
    Details d;
    d.fields = {in.Text10, in.text1, in.Text4,  in.Text6, in.Text7,
                in.Text11, in.Text9 + ".def", in.Text12, in.Text3, in.Text5};
    return d;
}

GenerationResult generate(const GenerationInput& in, const std::string& work, BusyPointer& busy) {
    return generateFrom(
        in, detailsRecord(detailsOf(in)),
        [&](const MachineFields& m, const std::string& prem) { return writeScaledPoints(in.text1, m, prem); },
        work, busy);
}

GenerationResult generateFrom(const GenerationInput& in, const std::string& detailsContents,
                              const PointStage& points, const std::string& work, BusyPointer& busy) {
    GenerationResult r;
    // 1. The fields, in the page's order; nothing is written before they pass.
    MachineFields m;
    if (auto refused = checkInput(in, m)) {
        r.message = *refused;
        return r;
    }
    const std::string det = in.Text9 + ".det";
    const std::string def = in.Text9 + ".def";

    // 2. Details file, field 7 being the cut file name.
    Status written = [&] {
        auto w = FieldWriter::append(det);
        if (!w) return Status::failure(w.error());
        w->raw(detailsContents);
        return w->close();
    }();
    if (!written) {
        removeFile(det);  // created before the write failed
        r.message = {written.message + "\nAucun fichier découpe n'a été créé.", kFailTitle, style::kStopOk};
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
    const std::string prem = work + kWorkFiles[8], objet = work + kWorkFiles[9];
    uint64_t planned = 0;  // ticks of the cut file, from the segments

    // 3. Work files start empty.
    for (const char* name : kWorkFiles)
        if (Status s = removeFile(work + name); !s) return fail(s.message);

    // 4. to 7., each stage from the file the last one wrote.
    std::string why = timed(r.stageSeconds[0], [&] { return points(m, prem); });
    if (why.empty()) why = timed(r.stageSeconds[1], [&] { return writeSegments(prem, objet, planned); });
    if (!why.empty()) return fail(why);
    // Every size is known now: refuse before the streams rather than fill the disk.
    if (why = spaceShortage(planned, work, def, m.weight); !why.empty()) return fail(why);
    why = timed(r.stageSeconds[2], [&] { return writeSignalStreams(objet, work, r.ticks, r.bytesWritten); });
    if (!why.empty()) return fail(why);
    if (r.ticks == 0)
        return fail("Le dessin ne produit aucun déplacement de la machine (tous ses points se confondent).");
    // The cut file under a temporary name until it is complete.
    why = timed(r.stageSeconds[3], [&] {
        std::string merged = mergeCutFile(work, m, tempDef, r.ticks, r.bytesWritten);
        if (merged.empty() && renamePath(tempDef, def) != 0)
            merged = "Impossible de nommer le fichier découpe " + def + " : " + systemReason(errno) + ".";
        // A pacing file left by an earlier cut of the same name belongs to other bytes: the
        // run would refuse this one for it. The ramps, if any, write the new one afterwards.
        if (!merged.empty()) return merged;
        if (Status s = removeFile(pacingPathFor(def)); !s) {
            removeFile(def);
            merged = s.message;
        }
        return merged;
    });
    if (!why.empty()) return fail(why);

    r.ok = true;
    r.defPath = def;
    r.detPath = det;
    r.message = {"Fichier découpe créé avec succés", "Découpe", style::kStopOk};
    return r;
}

}  // namespace vornelle
