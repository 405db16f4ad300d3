// Cut-in-progress panel; see panel.h.
#include "panel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vornelle {

QString durationText(double seconds) {
    long s = static_cast<long>(seconds + 0.5);
    if (s >= 3600)
        return QString("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QChar('0'))
            .arg(s % 60, 2, 10, QChar('0'));
    return QString("%1:%2").arg(s / 60, 2, 10, QChar('0')).arg(s % 60, 2, 10, QChar('0'));
}

DecencoursPanel::DecencoursPanel(RunState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("decencours");
    setWindowTitle("Découpe en cours");
    // A message box never disables this window: "Arret d'urgence" must always answer.
    setProperty("keepsStop", true);
    auto* top = new QVBoxLayout(this);
    // Above the main window, so nothing can cover "Arret d'urgence" during a cut.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto button = [this](const char* name, const char* caption, std::atomic<int> RunState::*flag) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setMinimumWidth(160);
        connect(b, &QPushButton::clicked, this, [this, flag] { state_.*flag = 1; });
        return b;
    };
    QPushButton* stop = button("Command1", "Arret d'urgence", &RunState::arret);
    stop_ = stop;
    stop->setStyleSheet(
        "QPushButton { background: #d03030; color: white; font-weight: bold; padding: 6px; }");
    for (QPushButton* b : {stop, button("Command2", "Pause", &RunState::pause),
                           button("Command3", "Reprise", &RunState::reprise)}) {
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(b);
        row->addStretch();
        top->addLayout(row);
    }
    HScroll1 = new QScrollBar(Qt::Horizontal);
    HScroll1->setObjectName("HScroll1");
    HScroll1->setAccessibleName("Vitesse d'avance");
    HScroll1->setRange(0, 100);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(0);
    top->addWidget(HScroll1);
    Label1 = new QLabel;
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    top->addWidget(Label1);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int p) {
        Label1->setText(QString::number(100 - p));
        state_.scrollChanged(p);
    });
    auto* depth = new QHBoxLayout;
    depth->addWidget(button("Command4", "+ profond", &RunState::profplus));
    depth->addStretch();
    depth->addWidget(button("Command5", "- profond", &RunState::profmoins));
    top->addLayout(depth);
    progress_ = new QLabel;
    progress_->setObjectName("progression");
    progress_->setAlignment(Qt::AlignCenter);
    progress_->setStyleSheet("color: #333;");
    top->addWidget(progress_);
    live_ = new RunLive;
    top->addWidget(live_, 1);
    setTabOrder(stop, HScroll1);
    stop->setFocus();
    resize(420, sizeHint().height());
}

void DecencoursPanel::startProgress() {
    start_ = shown_ = std::chrono::steady_clock::now();
    progress_->setText("Démarrage de la découpe");
}

void DecencoursPanel::progress(uint64_t played, uint64_t total, bool force) {
    auto now = std::chrono::steady_clock::now();
    if (!force && now - shown_ < std::chrono::milliseconds(250)) return;
    shown_ = now;
    double elapsed = std::chrono::duration<double>(now - start_).count();
    QString text =
        QString("%1 / %2 enregistrements  -  écoulé %3").arg(played).arg(total).arg(durationText(elapsed));
    // Once the path is decoded the time left is worked out from it, not guessed from the rate.
    if (played > 0 && played < total && !live_->remaining()) {
        double left = elapsed / static_cast<double>(played) * static_cast<double>(total - played);
        text += QString("  -  reste environ %1").arg(durationText(left));
    }
    if (text != progress_->text()) progress_->setText(text);
}

void DecencoursPanel::showRunning() {
    show();
    raise();
    activateWindow();
    stop_->setFocus();
}

void DecencoursPanel::showPace(int position) {
    const QSignalBlocker block(HScroll1);
    HScroll1->setValue(position);
    Label1->setText(QString::number(100 - position));
}

void DecencoursPanel::keyPressEvent(QKeyEvent* e) {
    // Escape is the emergency stop, as the red button.
    if (e->key() == Qt::Key_Escape) {
        if (running_) state_.arret = 1;
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void DecencoursPanel::closeEvent(QCloseEvent* e) {
    if (running_) {
        state_.arret = 1;
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

}  // namespace vornelle
