// Run controller; see runcontroller.h. The fields are read once and again whenever one of
// them changes, so the run reads current values without converting widget texts per record.
#include "runcontroller.h"

#include <QLineEdit>

#include "base/numbers.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {
const char* kNoConfig = "Vous devez configurer en fonction de votre machine avant d'utiliser Vornelle";
const char* kNoConfigTitle = "aller en page configuration !!!";
const char* kFieldNames[] = {"Text9",  "Text10", "Text11", "Text2",  "Text5",  "Text8",  "Text13",
                             "Text14", "Text15", "Text16", "Text17", "Text18", "Text19", "Text20"};
}  // namespace

RunController::RunController(RunState& state, Navigator& navigator, Dialogs& dialogs, Yield& yield,
                             Pacer& pacer, BusyPointer& pointer, PortSelector& ports, QObject* parent)
    : QObject(parent),
      state_(state),
      navigator_(navigator),
      dialogs_(dialogs),
      yield_(yield),
      pacer_(pacer),
      pointer_(pointer),
      ports_(ports) {}

void RunController::readFields() {
    if (!page_) return;
    auto text = [this](const char* n) {
        auto* e = page_->findChild<QLineEdit*>(n);
        return e ? bytes(e->text()) : std::string();
    };
    fields_.Text9 = text("Text9");
    fields_.Text10 = text("Text10");
    fields_.Text11 = text("Text11");
    fields_.Text2 = text("Text2");
    fields_.Text5 = text("Text5");
    fields_.Text8 = text("Text8");
    for (int i = 0; i < 8; ++i) fields_.weights[i] = text(kFieldNames[6 + i]);
}

RunOutcome RunController::run(QWidget* toolPage, RunVariant variant) {
    page_ = toolPage;
    bool hasPort = false;
    int port = toolPage->property("port").toInt(&hasPort);
    if (!hasPort || port <= 0) {
        dialogs_.message(kNoConfig, style::kQuestionOk, kNoConfigTitle);
        return {};
    }
    readFields();
    QList<QMetaObject::Connection> watches;
    for (const char* n : kFieldNames)
        if (auto* e = toolPage->findChild<QLineEdit*>(n))
            watches << connect(e, &QLineEdit::textChanged, this, [this] { readFields(); });

    Wiring w;
    for (int a = 0; a < 3; ++a) {
        w.dir[a] = static_cast<int>(leadingNumberOr0(fields_.weights[2 * a]));
        w.clk[a] = static_cast<int>(leadingNumberOr0(fields_.weights[2 * a + 1]));
        w.inv[a] = toolPage->property(("inv" + std::string(1, "XYZ"[a])).c_str()).toBool();
    }
    PortLibrary& p = ports_.select(static_cast<uint16_t>(port), w);
    RunServices services{p, static_cast<int16_t>(port), state_, *this, dialogs_, yield_, pacer_, pointer_};
    RunOutcome o = runCut(services, variant);
    for (auto& c : watches) disconnect(c);
    return o;
}

DecencoursPanel* RunController::loadPanel() {
    if (!panel_) {
        panel_ = new DecencoursPanel(state_);
        panel_->setAttribute(Qt::WA_DeleteOnClose);
    }
    return panel_;
}

int RunController::scrollPosition() {
    return loadPanel()->scrollBar()->value();
}

void RunController::setScrollPosition(int position) {
    loadPanel()->scrollBar()->setValue(position);
}

void RunController::setFeeds(const std::string& Text10, const std::string& Text11) {
    if (!page_) return;
    if (auto* e = page_->findChild<QLineEdit*>("Text10")) e->setText(qs(Text10));
    if (auto* e = page_->findChild<QLineEdit*>("Text11")) e->setText(qs(Text11));
}

void RunController::showRun() {
    navigator_.hide(PageId::Mach);
    DecencoursPanel* p = loadPanel();
    p->setRunning(true);
    p->startProgress();
    p->show();
    p->raise();
}

void RunController::stopShown() {
    if (panel_) {
        panel_->setRunning(false);
        panel_->hide();
    }
    navigator_.show(PageId::Mach);
}

void RunController::endRun() {
    navigator_.show(PageId::Mach);
    if (panel_) {
        panel_->setRunning(false);
        panel_->hide();
        panel_->deleteLater();
        panel_ = nullptr;
    }
}

void RunController::progress(uint64_t played, uint64_t total) {
    if (panel_) panel_->progress(played, total, played == total);
}

}  // namespace vornelle
