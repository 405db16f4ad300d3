// Joystick page; see joystickpage.h. The arrows sit on a line drawing of the three axes.
#include "joystickpage.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QVBoxLayout>
#include <cstring>

#include "base/numbers.h"
#include "ui/clicklabel.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {

const char* kNoConfig = "Veuillez configurer sinon ... ";
const char* kNoConfigTitle = "on ne me la fait pas à moi !!!";

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

JoystickPage::JoystickPage(Dialogs& dialogs, Navigator& navigator, FolderSource folder, Machine& machine,
                           Pacer& pacer, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      navigator_(navigator),
      folder_(std::move(folder)),
      machine_(machine),
      pacer_(pacer) {
    setObjectName("form5");
    setWindowTitle("Manettes virtuelles");
    auto* top = new QHBoxLayout(this);

    // Left: machine parameters, distance, speed.
    auto* left = new QVBoxLayout;
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
    left->addStretch();
    top->addLayout(left);

    // Centre: the arrows on the axes drawing.
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

    // Right: arrow inversion, homing, stop, leave.
    auto* right = new QVBoxLayout;
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
    auto* niche = new QPushButton("A la niche");
    niche->setObjectName("Command1");
    connect(niche, &QPushButton::clicked, this, &JoystickPage::homing);
    motionButtons_ << niche;
    right->addWidget(niche);
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
    top->addLayout(right);

    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, &JoystickPage::stopMove);
}

QLineEdit* JoystickPage::edit(const char* name, const QString& text) {
    auto* e = new QLineEdit(text);
    if (std::strcmp(name, "Text4") == 0) {
        coefText_ = bytes(text);
        connect(e, &QLineEdit::textChanged, this, [this](const QString& t) {
            std::lock_guard<std::mutex> lock(coefMutex_);
            coefText_ = bytes(t);
        });
    }
    e->setObjectName(name);
    e->setMaximumWidth(80);
    return e;
}

void JoystickPage::formLoad() {
    auto folder = folder_();
    if (!folder || !existeconfig(*folder)) {
        dialogs_.message(kNoConfig, style::kQuestionOk, kNoConfigTitle);
        return;
    }
    folderPath_ = *folder;
    ConfigRead read = lisconfig(*folder);
    if (!read.ok()) {
        dialogs_.message(read.error, style::kStopOk, kNoConfigTitle);
        return;
    }
    const configmachine& c = read.config;
    Text1->setText(qs(c.pasmmX));
    Text3->setText(qs(c.pasmmY));
    Text5->setText(qs(c.pasmmZ));
    Text4->setText(qs(c.coefvitesse));
    const std::string* dirs[3] = {&c.poidsdirX, &c.poidsdirY, &c.poidsdirZ};
    const std::string* clks[3] = {&c.poidsclkX, &c.poidsclkY, &c.poidsclkZ};
    wiringProblem_.clear();
    for (int a = 0; a < 3; ++a) {
        const std::string axis(1, "XYZ"[a]);
        auto d = signalWeight(*dirs[a], "DIR " + axis), k = signalWeight(*clks[a], "CLOCK " + axis);
        if (!d && wiringProblem_.empty()) wiringProblem_ = d.error();
        if (!k && wiringProblem_.empty()) wiringProblem_ = k.error();
        dir_[a] = d ? *d : 0;
        clk_[a] = k ? *k : 0;
        wiring_.dir[a] = dir_[a];
        wiring_.clk[a] = clk_[a];
    }
    inv_[0] = c.invX == 1;
    inv_[1] = c.invY == 1;
    inv_[2] = c.invZ == 1;
    for (int a = 0; a < 3; ++a) wiring_.inv[a] = inv_[a];
    descenteZ_ = c.descenteZ;

    if (Status s = creefleches(*folder); !s)
        dialogs_.message(s.message, style::kStopOk, "Manettes virtuelles");
    if (auto f = lisfleches(*folder); f) {
        if (f->x) Check1->setChecked(true);
        if (f->y) Check2->setChecked(true);
        if (f->z) Check3->setChecked(true);
    }
    if (std::string m = configIncomplete(c); !m.empty()) {
        dialogs_.message(m, style::kStopOk, kNoConfigTitle);
        return;
    }
    port_ = portAddress(c.numport);
    // The status bar names the port; never while a motion holds the current one.
    if (!machine_.busy()) machine_.ports().select(*port_, wiring_);
}

bool JoystickPage::ready() {
    if (machine_.busy()) return false;  // one motion at a time; the buttons are disabled too
    if (!port_) {
        dialogs_.message(kNoConfig, style::kQuestionOk, kNoConfigTitle);
        return false;
    }
    if (!wiringProblem_.empty()) {
        dialogs_.message(wiringProblem_, style::kStopOk, "Manettes virtuelles");
        return false;
    }
    return true;
}

MoveContext JoystickPage::context(JobContext& job) {
    return MoveContext{job.port,
                       static_cast<int16_t>(*port_),
                       job.yield,
                       pacer_,
                       [this] { return static_cast<double>(speed_.load()); },
                       [this] {
                           std::lock_guard<std::mutex> lock(coefMutex_);
                           return coefText_;
                       },
                       [this] { return stop_.load(); }};
}

void JoystickPage::startMove(std::function<Status(MoveContext&)> move, const char* title) {
    auto result = std::make_shared<Status>();
    stop_ = false;
    bool started = machine_.start(
        *port_, wiring_,
        [this, move, result](JobContext& job) {
            MoveContext m = context(job);
            *result = move(m);
        },
        [this, result, title, page = QPointer<JoystickPage>(this)](const std::string& fault) {
            if (page) moveEnded(*result, fault, title);
        });
    if (!started) return;
    own_ = true;
    stopButton_->setEnabled(true);
}

void JoystickPage::moveEnded(const Status& s, const std::string& fault, const char* title) {
    own_ = false;
    stop_ = false;
    stopButton_->setEnabled(false);
    position_->refresh();
    if (!fault.empty())
        dialogs_.message(fault + "\nLe déplacement est interrompu.", style::kStopOk, title);
    else if (!s)
        dialogs_.message(s.message, style::kStopOk, title);
    if (closeAfter_) {
        closeAfter_ = false;
        navigator_.close(PageId::Form5);
    } else if (quitAfter_) {
        quitAfter_ = false;
        saveAndLeave();
    }
}

void JoystickPage::setMotionBusy(bool busy) {
    for (QPushButton* b : motionButtons_) b->setEnabled(!busy);
}

void JoystickPage::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        stopMove();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void JoystickPage::closeEvent(QCloseEvent* e) {
    if (own_) {
        stop_ = true;
        closeAfter_ = true;
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void JoystickPage::stopMove() {
    if (own_) stop_ = true;
}

void JoystickPage::arrow(Arrow a) {
    if (!ready()) return;
    int axis = arrowAxis(a);
    QLineEdit* spmm = axis == 0 ? Text1 : axis == 1 ? Text3 : Text5;
    QCheckBox* box = axis == 0 ? Check1 : axis == 1 ? Check2 : Check3;
    std::string steps = bytes(spmm->text()), distance = bytes(Text2->text());
    int dir = dir_[axis], clk = clk_[axis];
    bool ticked = box->isChecked();
    startMove([=](MoveContext& m) { return jog(m, a, steps, distance, dir, clk, ticked); },
              "Manettes virtuelles");
}

void JoystickPage::homing() {
    if (!ready()) return;
    HomingSetup h;
    for (int a = 0; a < 3; ++a) {
        h.dir[a] = dir_[a];
        h.clk[a] = clk_[a];
        h.inv[a] = inv_[a];
    }
    h.descenteZ = descenteZ_;
    h.stepsPerMmZ = bytes(Text5->text());
    startMove(
        [this, h](MoveContext& m) {
            Status s = home(m, h);
            // A homing that reached its switches is the new origin; one stopped half way is not.
            if (s && !m.stopRequested()) {
                machine_.markOrigin();
                position_->homed();
            }
            return s;
        },
        "A la niche");
}

void JoystickPage::quitter() {
    if (own_) {  // the move stops first; the page is left once it has ended
        stop_ = true;
        quitAfter_ = true;
        return;
    }
    saveAndLeave();
}

void JoystickPage::saveAndLeave() {
    ArrowFlags f{Check1->isChecked(), Check2->isChecked(), Check3->isChecked()};
    if (!folderPath_.empty() || folder_()) {
        std::string folder = folderPath_.empty() ? *folder_() : folderPath_;
        if (Status s = sauvefleches(folder, f); !s)
            dialogs_.message(s.message, style::kStopOk, "Manettes virtuelles");
    }
    navigator_.hide(PageId::Form5);
    navigator_.show(PageId::Mach);
}

}  // namespace vornelle
