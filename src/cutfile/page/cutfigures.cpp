// Figures of the cut file on the tool page; see cutfigures.h.
#include "cutfigures.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>

#include "base/numbers.h"
#include "cutfile/decodersetup.h"
#include "run/decode/figures.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {
const char* kProblemStyle = "color: #c00000; font-weight: bold;";
}

ToolFields toolFieldsOf(const QWidget* page) {
    auto text = [page](const std::string& name) {
        auto* e = page->findChild<QLineEdit*>(QString::fromStdString(name));
        return e ? bytes(e->text()) : std::string();
    };
    ToolFields t;
    t.Text6 = text("Text6"), t.Text3 = text("Text3"), t.Text5 = text("Text5");
    t.Text2 = text("Text2"), t.Text10 = text("Text10"), t.Text11 = text("Text11");
    t.Text12 = text("Text12"), t.Text8 = text("Text8"), t.Text4 = text("Text4");
    for (int i = 0; i < 8; ++i) t.weights[i] = text("Text" + std::to_string(13 + i));
    for (int i = 0; i < 3; ++i) t.inversions[i] = text("Text" + std::to_string(21 + i));
    t.invZ = page->property("invZ").toBool();
    return t;
}

CutFigures::CutFigures(QWidget* page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName("figures");
    lines_ = new QVBoxLayout(this);
    lines_->setContentsMargins(4, 2, 4, 2);
    lines_->setSpacing(1);
}

void CutFigures::watchFeeds() {
    // The duration at the feeds as they are typed, from the records counted once. Found at
    // the first decoding: while the page is being built its fields are not all in it yet.
    if (watching_) return;
    watching_ = true;
    for (const char* n : {"Text10", "Text11"})
        if (auto* e = page_->findChild<QLineEdit*>(n))
            connect(e, &QLineEdit::textChanged, this, [this] {
                // A pacing file's duration is summed record by record: decoded again.
                if (result_ && !decoding_) result_->setup.pacing ? decode(result_->file) : showLines();
            });
}

void CutFigures::message(const QString& text, bool problem) {
    auto* l = new QLabel(text);
    l->setObjectName(problem ? "probleme" : "chiffre");
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (problem) l->setStyleSheet(kProblemStyle);
    lines_->addWidget(l);
}

void CutFigures::clear() {
    task_.cancel();
    decoding_ = false;
    result_.reset();
    while (QLayoutItem* item = lines_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

QStringList CutFigures::lines() const {
    QStringList out;
    for (int i = 0; i < lines_->count(); ++i)
        if (auto* l = qobject_cast<QLabel*>(lines_->itemAt(i)->widget())) out << l->text();
    return out;
}

void CutFigures::decode(const std::string& file) {
    watchFeeds();
    clear();
    emit decoded(nullptr);
    auto setup = decoderSetup(toolFieldsOf(page_));
    std::string refused = setup ? attachPacing(*setup, file) : setup.error();
    if (!refused.empty()) {
        message(qs(refused), true);
        return;
    }
    if (setup->pacing) {
        ToolFields t = toolFieldsOf(page_);
        setup->feedIn = decimalValue(t.Text10).value_or(0);
        setup->feedOut = decimalValue(t.Text11).value_or(0);
    }
    decoding_ = true;
    message("Décodage du fichier découpe...", false);
    QPointer<CutFigures> self(this);
    task_.start(file, *setup, [self](std::shared_ptr<const DecodeResult> r) {
        // Back on the screen's thread, unless the page has gone meanwhile.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, r] {
                if (self) self->show(r);
            },
            Qt::QueuedConnection);
    });
}

void CutFigures::show(std::shared_ptr<const DecodeResult> r) {
    task_.cancel();  // joins the thread, which has ended
    decoding_ = false;
    result_ = std::move(r);
    showLines();
    emit decoded(result_->figures.ok() ? result_ : nullptr);
}

void CutFigures::showLines() {
    auto r = result_;
    clear();
    result_ = r;
    if (!r->figures.ok()) {
        message(qs(r->figures.error), true);
        return;
    }
    DecoderSetup s = r->setup;
    ToolFields t = toolFieldsOf(page_);
    auto in = decimalValue(t.Text10), out = decimalValue(t.Text11);
    s.feedIn = in.value_or(0), s.feedOut = out.value_or(0);
    for (const FigureLine& l : figureLines(r->figures, s)) message(QString::fromStdString(l.text), l.problem);
    if (!in || !out || *in < 0 || *in > 100 || *out < 0 || *out > 100)
        message("Vitesses à saisir de 0 à 100 : la durée prévue est fausse.", true);
}

}  // namespace vornelle
