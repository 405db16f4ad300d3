// Live part of the cut-in-progress panel; see runlive.h.
#include "runlive.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

#include "base/numbers.h"
#include "run/decode/figures.h"
#include "port/step.h"
#include "run/decode/timeleft.h"
#include "ui/qtpainter.h"

namespace vornelle {

DecoderSetup runDecoderSetup(const RunFields& f, const std::string& text6, const std::string& text3,
                             const std::array<bool, 3>& inv, RunVariant variant) {
    DecoderSetup s;
    for (int i = 0; i < 8; ++i) {
        auto w = signalWeight(f.weights[i], "");
        s.weights[i] = w ? *w : 0;
    }
    for (int k = 0; k < 3; ++k) s.inv[k] = inv[k];
    s.variant = variant;
    const std::string* perMm[3] = {&text6, &text3, &f.Text5};
    for (int k = 0; k < 3; ++k)
        s.stepsPerMm[k] = decimalValue(*perMm[k]).value_or(leadingNumberOr0(*perMm[k]));
    auto c = coefficient(f.Text2);
    s.c = c ? *c : 0.01;
    return s;
}

PathView::PathView(QWidget* parent) : QWidget(parent) {
    setObjectName("trajet");
    setAccessibleName("Trajet de la découpe");
    setToolTip("Le trajet du fichier découpe : en couleur ce qui est fait, en gris ce qui reste");
    setMinimumSize(320, 220);
}

void PathView::setResult(std::shared_ptr<const DecodeResult> r) {
    result_ = std::move(r);
    update();
}

void PathView::setMarks(const PathMarks& m) {
    bool same = m.done == marks_.done && m.tool == marks_.tool;
    marks_ = m;
    if (!same) update();
}

void PathView::paintEvent(QPaintEvent*) {
    QPainter qp(this);
    qp.fillRect(rect(), Qt::white);
    if (!result_ || !result_->path) {
        qp.drawText(rect(), Qt::AlignCenter, "Décodage du trajet...");
        return;
    }
    PathFrame f = fitPathFrame(result_->figures, result_->setup, width(), height());
    QtPainter painter(qp, f.left, f.top, f.pixelsPerMm, size());
    drawPathPicture(*result_->path, result_->figures, result_->setup, f, painter, marks_);
}

RunLive::RunLive(QWidget* parent) : QWidget(parent) {
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    view_ = new PathView;
    l->addWidget(view_, 1);
    position_ = new QLabel;
    position_->setObjectName("position");
    position_->setAlignment(Qt::AlignCenter);
    position_->setToolTip("Position de l'outil depuis le début de la découpe, Z positif dans la matière");
    l->addWidget(position_);
    left_ = new QLabel;
    left_->setObjectName("restant");
    left_->setAlignment(Qt::AlignCenter);
    left_->setStyleSheet("font-weight: bold;");
    l->addWidget(left_);
}

void RunLive::start(const std::string& file, const DecoderSetup& setup, uint64_t first) {
    setup_ = setup;
    first_ = first;
    result_.reset();
    remaining_.reset();
    view_->setResult(nullptr);
    decoding_ = true;
    left_->setText("Temps restant : calcul en cours");
    QPointer<RunLive> self(this);
    task_.start(
        file, setup,
        [self](std::shared_ptr<const DecodeResult> r) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, r] {
                    if (self) self->decoded(r);
                },
                Qt::QueuedConnection);
        },
        first);
}

void RunLive::decoded(std::shared_ptr<const DecodeResult> r) {
    task_.cancel();  // the thread has ended: joined at once
    decoding_ = false;
    if (!r->figures.ok()) {
        left_->setText(QString::fromStdString(r->figures.error));
        return;
    }
    result_ = std::move(r);
    view_->setResult(result_);
}

void RunLive::refresh(const std::array<long, 3>& steps, uint64_t doneIn, uint64_t doneOut, double feedIn,
                      double feedOut) {
    for (int a = 0; a < 3; ++a) mm_[a] = decodedMm(setup_, a, steps[a]);
    QString text = QString::fromStdString("Position : X " + commaFixed(mm_[0], 3) + " ; Y " +
                                          commaFixed(mm_[1], 3) + " ; Z " + commaFixed(mm_[2], 3) + " mm");
    if (text != position_->text()) position_->setText(text);
    if (!result_) return;
    // A resumed run: what was played before it counts as done.
    doneIn += result_->path->inBefore(), doneOut += result_->path->outBefore();
    // With a pacing file each record's pace is its run's, whatever the Z steps say.
    remaining_ = setup_.pacing ? secondsLeft(*setup_.pacing, doneIn + doneOut, feedIn, feedOut, setup_.c)
                               : secondsLeft(result_->figures, doneIn, doneOut, feedIn, feedOut, setup_.c);
    QString left = QString::fromStdString("Temps restant : " +
                                          (remaining_ ? durationWords(*remaining_) : std::string("?")));
    if (left != left_->text()) left_->setText(left);
    PathMarks m;
    m.done = doneIn + doneOut;  // records from the cut's start
    m.tool = std::array<double, 2>{mm_[0], mm_[1]};
    view_->setMarks(m);
}

}  // namespace vornelle
