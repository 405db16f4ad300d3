// The resume button; see resumebutton.h.
#include "resumebutton.h"

#include "base/files.h"
#include "run/resumefile.h"
#include "ui/qtext.h"

namespace vornelle {

ResumeButton::ResumeButton(QWidget* parent) : QPushButton("Reprendre la découpe", parent) {
    setObjectName("reprendre");
    setToolTip("Reprend la découpe arrêtée après le dernier enregistrement joué");
    setStyleSheet("QPushButton { font-weight: bold; padding: 6px; }");
    hide();
    connect(this, &QPushButton::clicked, this, [this] {
        if (action_) action_();
    });
}

void ResumeButton::setCutName(const QString& name) {
    cut_ = bytes(name);
    refresh();
}

void ResumeButton::refresh() {
    setVisible(hasResume(cut_) && fileExists(cut_));
}

}  // namespace vornelle
