// Position line of the joystick page; see positionlabel.h.
#include "positionlabel.h"

namespace vornelle {
namespace {
QString mmText(double v) {
    QString t = QString::number(v, 'f', 3);
    if (t.startsWith('-') && t.mid(1).count('0') == t.size() - 2) t.remove(0, 1);  // never "-0.000"
    return t.replace('.', ',');
}
}  // namespace

PositionLabel::PositionLabel(Machine& machine, std::function<std::array<double, 3>()> stepsPerMm,
                             QWidget* parent)
    : QLabel(parent), machine_(machine), stepsPerMm_(std::move(stepsPerMm)) {
    setObjectName("position");
    setToolTip("Position où le programme a mené la machine ; Z positif vers la matière (vers le bas)");
    setWordWrap(true);
    timer_.setInterval(250);
    connect(&timer_, &QTimer::timeout, this, &PositionLabel::refresh);
    timer_.start();
    refresh();
}

void PositionLabel::refresh() {
    std::array<long, 3> p = machine_.fromOrigin();
    std::array<double, 3> spmm = stepsPerMm_ ? stepsPerMm_() : std::array<double, 3>{};
    QString text = homed_ ? "Position depuis la dernière mise à la niche :"
                          : "Position depuis le démarrage du programme :";
    const char* names[3] = {" X ", " ; Y ", " ; Z "};
    for (int a = 0; a < 3; ++a)
        text += names[a] + (spmm[a] > 0 ? mmText(p[a] / spmm[a]) : QString::number(p[a]) + " pas");
    text += " mm";
    if (text != this->text()) setText(text);
}

}  // namespace vornelle
