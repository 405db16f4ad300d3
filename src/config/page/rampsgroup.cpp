// The ramps' group of the configuration page; see rampsgroup.h.
#include "rampsgroup.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/qtext.h"

namespace vornelle {

RampsGroup::RampsGroup(QWidget* parent) : QGroupBox("Rampes d'accélération", parent) {
    setObjectName("rampes");
    auto* g = new QGridLayout(this);
    struct Row {
        const char *name, *caption, *tip;
    } rows[] = {
        {"rampeAccelX", "Accélération X (mm/s²)", "Accélération de l'axe X en mm/s²"},
        {"rampeAccelY", "Accélération Y (mm/s²)", "Accélération de l'axe Y en mm/s²"},
        {"rampeAccelZ", "Accélération Z (mm/s²)", "Accélération de l'axe Z en mm/s²"},
        {"rampeDemarrage", "Vitesse de démarrage et d'arrêt (mm/s)",
         "Vitesse à laquelle un axe démarre et s'arrête sans perdre de pas"},
        {"rampeAngle", "Déviation en angle (mm)",
         "Écart admis dans un angle : plus il est grand, plus l'outil passe vite les angles"},
    };
    auto* note = new QLabel("Virgule ou point ; tout vide : pas de rampes.");
    note->setWordWrap(true);
    g->addWidget(note, 0, 0, 1, 2);
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(rows[i].caption);
        label->setWordWrap(true);
        boxes_[i] = new QLineEdit;
        boxes_[i]->setObjectName(rows[i].name);
        boxes_[i]->setMaximumWidth(120);
        boxes_[i]->setToolTip(rows[i].tip);
        label->setBuddy(boxes_[i]);
        g->addWidget(label, 1 + i, 0);
        g->addWidget(boxes_[i], 1 + i, 1);
    }
    g->setRowStretch(6, 1);
}

void RampsGroup::load(const std::string& folder) {
    auto t = readRampTexts(folder);
    for (int i = 0; i < 5; ++i) boxes_[i]->setText(t ? qs((*t)[i]) : QString());
}

RampTexts RampsGroup::texts() const {
    RampTexts t;
    for (int i = 0; i < 5; ++i) t[i] = bytes(boxes_[i]->text());
    return t;
}

}  // namespace vornelle
