// About box; see aboutbox.h.
#include "aboutbox.h"

#include <QLabel>
#include <QVBoxLayout>

#include "base/version.h"

namespace vornelle {

QWidget* makeAboutBox() {
    auto* w = new QWidget;
    w->setObjectName("Form2");
    w->setWindowTitle("Info");
    auto* l = new QVBoxLayout(w);
    auto* a = new QLabel("Vornelle : logiciel de découpe assisté par ordinateur à usage personnel ");
    a->setObjectName("Label1");
    auto* b = new QLabel(QString("Version ") + kVersion);
    b->setObjectName("Label2");
    l->addWidget(a);
    l->addWidget(b);
    w->setFixedSize(w->sizeHint().expandedTo(QSize(440, 110)));
    return w;
}

}  // namespace vornelle
