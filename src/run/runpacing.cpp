// The run's pacing; see runpacing.h.
#include "runpacing.h"

namespace vornelle {

std::string pacingPathFor(const std::string& cutPath) {
    std::string stem = cutPath;
    if (stem.size() >= 4) {
        std::string ext = stem.substr(stem.size() - 4);
        for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (ext == ".def") stem.resize(stem.size() - 4);
    }
    return stem + ".rythme";
}

void followMaterial(RunServices& s, const FieldValues& f, int r, const PacingRun* paced, bool& paceOut) {
    RunState& st = s.state;
    int m = r & f.zMask;
    if (!paced) {
        if (st.horsmatiere == 1 && m == f.downStep) {
            st.horsmatiere = 0;
            s.host.setScrollPosition(toPosition(100 - st.vitdans));
        }
        if (!st.outOfMaterial() && m == f.upStep) {
            st.horsmatiere = 1;
            s.host.setScrollPosition(toPosition(100 - st.vithors));
        }
        return;
    }
    if (paced->feed == PacingFeed::Out) {
        if (!paceOut) {
            st.horsmatiere = 1;
            s.host.setScrollPosition(toPosition(100 - st.vithors));
            paceOut = true;
        }
    } else if (paceOut || (st.horsmatiere == 1 && m == f.downStep)) {
        st.horsmatiere = 0;
        s.host.setScrollPosition(toPosition(100 - st.vitdans));
        paceOut = false;
    }
}

}  // namespace vornelle
