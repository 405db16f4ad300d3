// The widgets of the virtual-joystick page form5, built in the order the tab chain and screen
// readers follow; joystickpage.cpp keeps the moves they start. A step that adds to a column
// takes that column, so that each widget joins the page exactly when it always has.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "base/numbers.h"
#include "joystickpage.h"
#include "ui/clicklabel.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {

// The three axes drawn in perspective behind the arrow buttons.
class AxesDrawing : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(60, 60, 140), 2));
        const QPointF o(120, 150);
        p.drawLine(o, QPointF(222, 150));  // X
        p.drawLine(o, QPointF(196, 88));   // Y, in perspective
        p.drawLine(o, QPointF(120, 58));   // Z
        p.setPen(QColor(60, 60, 140));
        p.drawText(QPointF(214, 168), "X");
        p.drawText(QPointF(176, 92), "Y");
        p.drawText(QPointF(126, 70), "Z");
    }
};

}  // namespace

void JoystickPage::buildStepsPerMm(QVBoxLayout* left) {
    auto* params = new QGroupBox("Paramètre machine, nombre de pas /mm");
    auto* pg = new QGridLayout(params);
    auto* labelX = new QLabel("X");
    auto* labelY = new QLabel("Y");
    auto* labelZ = new QLabel("Z");
    pg->addWidget(labelX, 0, 0, Qt::AlignHCenter);
    pg->addWidget(labelY, 0, 1, Qt::AlignHCenter);
    pg->addWidget(labelZ, 0, 2, Qt::AlignHCenter);
    Text1 = edit("Text1", "120");
    Text3 = edit("Text3", "120");
    Text5 = edit("Text5", "120");
    labelX->setBuddy(Text1);
    labelY->setBuddy(Text3);
    labelZ->setBuddy(Text5);
    Text1->setAccessibleName("Nombre de pas par mm X");
    Text3->setAccessibleName("Nombre de pas par mm Y");
    Text5->setAccessibleName("Nombre de pas par mm Z");
    pg->addWidget(Text1, 1, 0);
    pg->addWidget(Text3, 1, 1);
    pg->addWidget(Text5, 1, 2);
    auto* coefficient = new QLabel("coefficient vitesse");
    pg->addWidget(coefficient, 2, 0, 1, 2);
    Text4 = edit("Text4", "0,01");
    coefficient->setBuddy(Text4);
    pg->addWidget(Text4, 2, 2);
    left->addWidget(params);
}

void JoystickPage::buildDistance(QVBoxLayout* left) {
    auto* dist = new QGroupBox("mm à déplacer");
    auto* dg = new QGridLayout(dist);
    Text2 = edit("Text2", "1");
    Text2->setAccessibleName("mm à déplacer");
    dg->addWidget(Text2, 0, 0, 1, 6);
    struct L {
        const char* name;
        const char* text;
    } labels[] = {{"Label4", "1"},  {"Label5", "2"},   {"Label6", "5"},
                  {"Label7", "10"}, {"Label17", "50"}, {"Label18", "100"}};
    int col = 0;
    for (const L& l : labels) {
        auto* lab = new ClickLabel(l.text);
        lab->setObjectName(l.name);
        lab->setAlignment(Qt::AlignCenter);
        lab->setCursor(Qt::PointingHandCursor);
        lab->setStyleSheet("border: 1px solid #888; padding: 2px 4px; background: #f4f4e0;");
        QString text = l.text;
        connect(lab, &ClickLabel::clicked, this, [this, text] { Text2->setText(text); });
        dg->addWidget(lab, 1, col++);
    }
    left->addWidget(dist);
}

void JoystickPage::buildSpeed(QVBoxLayout* left) {
    auto* speed = new QGroupBox("reglage vitesse");
    auto* sg = new QHBoxLayout(speed);
    HScroll1 = new QScrollBar(Qt::Horizontal);
    HScroll1->setObjectName("HScroll1");
    HScroll1->setAccessibleName("reglage vitesse");
    HScroll1->setRange(1, 100);
    HScroll1->setValue(20);
    HScroll1->setMinimumWidth(160);
    Label8 = new QLabel("80");
    Label8->setObjectName("Label8");
    Label8->setMinimumWidth(30);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int v) {
        Label8->setText(QString::number(100 - v));
        speed_ = v;
    });
    sg->addWidget(HScroll1, 1);
    sg->addWidget(Label8);
    left->addWidget(speed);
}

void JoystickPage::buildArrows(QHBoxLayout* top) {
    auto* axes = new AxesDrawing;
    axes->setFixedSize(300, 260);
    struct A {
        const char* name;
        const char* glyph;
        Arrow arrow;
        int x, y;
    } arrows[] = {
        {"Command10", "→", Arrow::Command10, 236, 130}, {"Command11", "←", Arrow::Command11, 18, 130},
        {"Command6", "↗", Arrow::Command6, 205, 36},    {"Command7", "↙", Arrow::Command7, 50, 190},
        {"Command8", "↑", Arrow::Command8, 97, 8},      {"Command9", "↓", Arrow::Command9, 97, 205}};
    for (const A& a : arrows) {
        auto* b = new QPushButton(a.glyph, axes);
        b->setObjectName(a.name);
        b->setGeometry(a.x, a.y, 46, 40);
        QFont f = b->font();
        f.setPointSize(16);
        b->setFont(f);
        Arrow which = a.arrow;
        connect(b, &QPushButton::clicked, this, [this, which] { arrow(which); });
        motionButtons_ << b;
    }
    // A reader says the arrow glyphs poorly: each arrow also tells its axis and its way.
    for (auto [name, what] : {std::pair{"Command10", "axe X, vers la droite"},
                              {"Command11", "axe X, vers la gauche"},
                              {"Command6", "axe Y, vers le fond"},
                              {"Command7", "axe Y, vers l'avant"},
                              {"Command8", "axe Z, vers le haut"},
                              {"Command9", "axe Z, vers le bas"}})
        axes->findChild<QPushButton*>(name)->setAccessibleDescription(what);
    top->addWidget(axes);
}

void JoystickPage::buildInversion(QVBoxLayout* right) {
    auto* inv = new QGroupBox("Inversion du sens des flèches");
    auto* ig = new QHBoxLayout(inv);
    Check1 = new QCheckBox("X");
    Check2 = new QCheckBox("Y");
    Check3 = new QCheckBox("Z");
    Check1->setObjectName("Check1");
    Check2->setObjectName("Check2");
    Check3->setObjectName("Check3");
    ig->addWidget(Check1);
    ig->addWidget(Check2);
    ig->addWidget(Check3);
    right->addWidget(inv);
}

void JoystickPage::buildCommands(QVBoxLayout* right) {
    auto* niche = new QPushButton("A la niche");
    niche->setObjectName("Command1");
    connect(niche, &QPushButton::clicked, this, &JoystickPage::homing);
    motionButtons_ << niche;
    right->addWidget(niche);
    checkButton_ = new QPushButton("Contrôle de position");
    checkButton_->setObjectName("CommandControle");
    checkButton_->setToolTip(kCheckFirstTip);
    connect(checkButton_, &QPushButton::clicked, this, &JoystickPage::positionCheck);
    motionButtons_ << checkButton_;
    right->addWidget(checkButton_);
    auto* repeatLabel = new QLabel("Répétabilité (pas)");
    repeatability_ = new QLineEdit("2");
    repeatability_->setObjectName("TextRepetabilite");
    repeatability_->setMaximumWidth(80);
    repeatability_->setToolTip("Écart admis entre deux prises d'origine, en pas, sans parler de pas perdus");
    repeatLabel->setBuddy(repeatability_);
    right->addWidget(repeatLabel);
    right->addWidget(repeatability_);
    stopButton_ = new QPushButton("Arrêt");
    stopButton_->setObjectName("CommandArret");
    stopButton_->setToolTip("Arrête le déplacement en cours (touche Echap)");
    stopButton_->setEnabled(false);
    stopButton_->setStyleSheet(
        "QPushButton:enabled { background: #d03030; color: white; font-weight: bold; }");
    connect(stopButton_, &QPushButton::clicked, this, &JoystickPage::stopMove);
    right->addWidget(stopButton_);
    position_ = new PositionLabel(machine_, [this] {
        std::array<double, 3> s{};
        QLineEdit* f[3] = {Text1, Text3, Text5};
        for (int a = 0; a < 3; ++a) s[a] = decimalValue(bytes(f[a]->text())).value_or(0);
        return s;
    });
    position_->setMaximumWidth(260);
    right->addWidget(position_);
    right->addStretch();
    auto* quit = new QPushButton("quitter");
    quit->setObjectName("Command5");
    connect(quit, &QPushButton::clicked, this, &JoystickPage::quitter);
    right->addWidget(quit);
}

}  // namespace vornelle
