// Joystick page; see joystickpage.h. Its widgets, the arrows on a line drawing of the three
// axes among them, are built in joystickpagelayout.cpp.
#include "joystickpage.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcut>
#include <QVBoxLayout>
#include <cstring>

#include "base/numbers.h"
#include "manual/repeatabilityfile.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {

const char* kNoConfig = "Veuillez configurer sinon ... ";
const char* kNoConfigTitle = "on ne me la fait pas à moi !!!";
const char* kCheckTitle = "Contrôle de position";

}  // namespace

const char* const kCheckFirstTip =
    "Prise d'origine et relevé des contacts ; après vos déplacements, appuyez de nouveau pour savoir si des pas "
    "ont été perdus";
const char* const kCheckSecondTip =
    "Position notée : seconde prise d'origine, et les pas perdus depuis la première";

namespace {

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
    // A message box never disables this page: "Arrêt" must always answer during a move.
    setProperty("keepsStop", true);
    setWindowTitle("Manettes virtuelles");
    auto* top = new QHBoxLayout(this);

    // Left: machine parameters, distance, speed.
    auto* left = new QVBoxLayout;
    buildStepsPerMm(left);
    buildDistance(left);
    buildSpeed(left);
    left->addStretch();
    top->addLayout(left);

    // Centre: the arrows on the axes drawing.
    buildArrows(top);

    // Right: arrow inversion, homing, stop, leave.
    auto* right = new QVBoxLayout;
    buildInversion(right);
    buildCommands(right);
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
    if (auto r = readRepeatability(*folder); !r)
        dialogs_.message(r.error(), style::kStopOk, kCheckTitle);
    else if (*r)
        repeatability_->setText(QString::number(**r));
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

void JoystickPage::startMove(std::function<Status(MoveContext&)> move, const char* title,
                             std::function<void()> done) {
    auto result = std::make_shared<Status>();
    stop_ = false;
    if (!portReady(machine_, dialogs_, *port_, wiring_)) return;
    bool started = machine_.start(
        *port_, wiring_,
        [this, move, result](JobContext& job) {
            MoveContext m = context(job);
            *result = move(m);
        },
        [this, result, title, done, page = QPointer<JoystickPage>(this)](const std::string& fault) {
            if (page) moveEnded(*result, fault, title, done);
        });
    if (!started) return;
    own_ = true;
    stopButton_->setEnabled(true);
}

void JoystickPage::moveEnded(const Status& s, const std::string& fault, const char* title,
                             const std::function<void()>& done) {
    own_ = false;
    stop_ = false;
    stopButton_->setEnabled(false);
    position_->refresh();
    if (!fault.empty())
        dialogs_.message(fault + "\nLe déplacement est interrompu.", style::kStopOk, title);
    else if (!s)
        dialogs_.message(s.message, style::kStopOk, title);
    else if (done)
        done();
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

HomingSetup JoystickPage::homingSetup() {
    HomingSetup h;
    for (int a = 0; a < 3; ++a) {
        h.dir[a] = dir_[a];
        h.clk[a] = clk_[a];
        h.inv[a] = inv_[a];
    }
    h.descenteZ = descenteZ_;
    h.stepsPerMmZ = bytes(Text5->text());
    return h;
}

void JoystickPage::homing() {
    if (!ready()) return;
    HomingSetup h = homingSetup();
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

void JoystickPage::positionCheck() {
    if (!ready()) return;
    auto repeat = repeatabilitySteps(bytes(repeatability_->text()));
    if (!repeat) {
        dialogs_.message(repeat.error(), style::kStopOk, kCheckTitle);
        return;
    }
    // Kept for the next session; a file that cannot be written does not stop the check.
    if (Status s = saveRepeatability(folderPath_, *repeat); !s)
        dialogs_.message(s.message, style::kStopOk, kCheckTitle);
    auto marks = std::make_shared<SwitchMarks>();
    startMove(
        [this, h = homingSetup(), marks](MoveContext& m) {
            auto found = markedHoming(m, h, [this] { return machine_.position(); });
            if (!found) return Status::failure(found.error());
            *marks = *found;
            machine_.markOrigin();
            position_->homed();
            return Status::success();
        },
        kCheckTitle, [this, marks, r = *repeat] { positionChecked(*marks, r); });
}

void JoystickPage::positionChecked(const SwitchMarks& marks, long repeatability) {
    if (!checkFirst_) {
        checkFirst_ = marks;
        checkButton_->setToolTip(kCheckSecondTip);
        dialogs_.message("Position notée. Déplacez la machine (manettes ou découpe), puis appuyez de nouveau sur "
                         "« Contrôle de position ».",
                         style::kExclamationOk, kCheckTitle);
        return;
    }
    std::array<double, 3> spmm{};
    QLineEdit* f[3] = {Text1, Text3, Text5};
    for (int a = 0; a < 3; ++a) spmm[a] = decimalValue(bytes(f[a]->text())).value_or(0);
    HomeCheck c = compareHomings(*checkFirst_, marks, repeatability, spmm);
    checkFirst_.reset();
    checkButton_->setToolTip(kCheckFirstTip);
    dialogs_.message(c.verdict + "\nÉcart entre les deux prises d'origine : " + c.details + ".",
                     c.lost ? style::kStopOk : style::kExclamationOk, kCheckTitle);
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
