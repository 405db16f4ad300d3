// Run controller; see runcontroller.h. The fields are read once and again whenever one of
// them changes, so the run reads current values without converting widget texts per record.
#include "runcontroller.h"

#include <QLineEdit>

#include "base/numbers.h"
#include "port/portfault.h"
#include "run/resumefile.h"
#include "ui/qtext.h"

namespace vornelle {
namespace {
const char* kNoConfig = "Vous devez configurer en fonction de votre machine avant d'utiliser Vornelle";
const char* kNoConfigTitle = "aller en page configuration !!!";
const char* kFieldNames[] = {"Text9",  "Text10", "Text11", "Text2",  "Text5",  "Text8",  "Text13",
                             "Text14", "Text15", "Text16", "Text17", "Text18", "Text19", "Text20"};
constexpr int kRefreshMs = 250;  // the panel's progress line, four times a second
}  // namespace

RunController::RunController(RunState& state, Navigator& navigator, Dialogs& dialogs, Pacer& pacer,
                             BusyPointer& pointer, Machine& machine, QObject* parent)
    : QObject(parent),
      state_(state),
      navigator_(navigator),
      dialogs_(dialogs),
      pacer_(pacer),
      pointer_(pointer),
      machine_(machine),
      screen_(std::this_thread::get_id()) {
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &RunController::showProgress);
}

RunController::~RunController() {
    // A run still playing uses this object: it must end first.
    if (machine_.busy()) machine_.abandon();
}

void RunController::PostedPointer::setBusy(bool busy) {
    QPointer<RunController> c(&c_);
    QMetaObject::invokeMethod(
        &c_,
        [c, busy] {
            if (c) c->pointer_.setBusy(busy);
        },
        Qt::QueuedConnection);
}

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
    std::lock_guard<std::mutex> lock(fieldsMutex_);
    shared_ = fields_;
    ++version_;
}

const RunFields& RunController::fields() {
    if (onScreenThread()) return fields_;
    std::lock_guard<std::mutex> lock(fieldsMutex_);
    jobFields_ = shared_;
    return jobFields_;
}

bool RunController::setUp(QWidget* toolPage, int& port, Wiring& w) {
    page_ = toolPage;
    bool hasPort = false;
    port = toolPage->property("port").toInt(&hasPort);
    if (!hasPort || port <= 0) {
        dialogs_.message(kNoConfig, style::kQuestionOk, kNoConfigTitle);
        return false;
    }
    readFields();
    unwatch();
    for (const char* n : kFieldNames)
        if (auto* e = toolPage->findChild<QLineEdit*>(n))
            watches_ << connect(e, &QLineEdit::textChanged, this, [this] { readFields(); });
    // Invalid weights are refused by the run's checks; the wiring only decodes.
    auto weight = [](const std::string& t) {
        auto v = signalWeight(t, "");
        return v ? *v : 0;
    };
    for (int a = 0; a < 3; ++a) {
        w.dir[a] = weight(fields_.weights[2 * a]);
        w.clk[a] = weight(fields_.weights[2 * a + 1]);
        w.inv[a] = toolPage->property(("inv" + std::string(1, "XYZ"[a])).c_str()).toBool();
    }
    return true;
}

std::string RunController::frameOf(const Wiring& w, RunVariant variant) const {
    auto text = [this](const char* n) {
        auto* e = page_ ? page_->findChild<QLineEdit*>(n) : nullptr;
        return e ? bytes(e->text()) : std::string();
    };
    return machineFrame(w.dir, w.clk, w.inv, {text("Text6"), text("Text3"), text("Text5")},
                        variant == RunVariant::Command12);
}

void RunController::unwatch() {
    for (auto& c : watches_) disconnect(c);
    watches_.clear();
}

RunServices RunController::screenServices(int port) {
    return RunServices{machine_.ports().current(),
                       static_cast<int16_t>(port),
                       state_,
                       *this,
                       dialogs_,
                       noYield_,
                       pacer_,
                       pointer_};
}

RunOutcome RunController::run(QWidget* toolPage, RunVariant variant) {
    if (machine_.busy()) return {};  // one motion at a time; the buttons are disabled anyway
    int port = 0;
    Wiring w;
    if (!setUp(toolPage, port, w)) return {};
    if (!portReady(machine_, dialogs_, static_cast<uint16_t>(port), w)) {
        unwatch();
        return {};
    }
    RunServices screen = screenServices(port);
    auto plan = prepareRun(screen, variant, frameOf(w, variant));
    if (!plan) {
        unwatch();
        return {};
    }
    beginRun(screen);
    origin_ = machine_.position();
    return launch(*plan, port, w, {});
}

RunOutcome RunController::launch(const RunPlan& plan, int port, const Wiring& w, Before before) {
    // The panel decodes the file meanwhile, for the path and the time left.
    state_.playedIn = 0, state_.playedOut = 0;
    if (panel_) {
        auto text = [this](const char* n) {
            auto* e = page_->findChild<QLineEdit*>(n);
            return e ? bytes(e->text()) : std::string();
        };
        DecoderSetup setup = runDecoderSetup(fields_, text("Text6"), text("Text3"),
                                             {w.inv[0], w.inv[1], w.inv[2]}, plan.variant);
        setup.pacing = plan.pacing;  // the path and the time left follow the run's own pacing
        panel_->live()->start(plan.name, setup, plan.start);
    }
    played_count_ = plan.start;
    total_ = plan.total;
    refresh_.start();
    last_ = RunOutcome{};
    loopStarted_ = false;
    RunPlan p = plan;
    bool started = machine_.start(
        static_cast<uint16_t>(port), w,
        [this, p, port, before](JobContext& ctx) {
            RunServices job{ctx.port, static_cast<int16_t>(port), state_, *this, dialogs_, ctx.yield, pacer_,
                            posted_};
            if (before) {
                PlayResult none;
                try {
                    Status b = before(ctx);
                    none.failure = b.message;
                } catch (const PortFault& f) {
                    none.failure = f.message();
                    ctx.portFault = f.message();
                }
                // Stopped on the way back: "Découpe arretée !" without a record played.
                if (!none.failure.empty() || state_.arret == 1) {
                    played_ = none;
                    return;
                }
            }
            loopStarted_ = true;
            played_ = playRun(job, p, &ctx.portFault);
        },
        [this, p, port](const std::string&) {
            ended(p, port);
            unwatch();
        });
    if (!started) {  // cannot happen: checked above, and only this thread starts jobs
        refresh_.stop();
        unwatch();
        return {};
    }
    RunOutcome o;
    o.started = true;
    return o;
}

void RunController::ended(const RunPlan& plan, int address) {
    refresh_.stop();
    RunServices screen = screenServices(address);
    int pace = pace_;  // the panel is unloaded by the end of the run
    last_ = finishRun(screen, plan, played_);
    if (!loopStarted_) return;  // stopped on the way back: the .reprise still says where to
    std::array<long, 3> now = machine_.position(), fromStart;
    for (int a = 0; a < 3; ++a) fromStart[a] = now[a] - origin_[a];
    if (Status k = keepResumePoint(state_, plan, played_, last_, pace, fromStart); !k)
        dialogs_.message(k.message, style::kStopOk, "Découpe");
    if (last_.stopped)
        stop_ = Stop{plan.name, plan.start + played_.records, origin_};
    else
        stop_.reset();
}

void RunController::showProgress() {
    if (!panel_) return;
    panel_->progress(played_count_, total_);
    std::array<long, 3> p = machine_.position();
    for (int a = 0; a < 3; ++a) p[a] -= origin_[a];
    panel_->live()->refresh(p, state_.playedIn, state_.playedOut, state_.vitdans, state_.vithors);
}

DecencoursPanel* RunController::loadPanel() {
    if (!panel_) {
        panel_ = new DecencoursPanel(state_);
        panel_->setAttribute(Qt::WA_DeleteOnClose);
        // The operator's moves reach the pace at the next delay.
        connect(panel_->scrollBar(), &QScrollBar::valueChanged, this, [this](int v) { pace_ = v; });
    }
    return panel_;
}

int RunController::scrollPosition() {
    if (onScreenThread()) return loadPanel()->scrollBar()->value();
    return pace_;
}

void RunController::setScrollPosition(int position) {
    pace_ = position;
    if (onScreenThread()) {
        loadPanel()->scrollBar()->setValue(position);
        return;
    }
    // The run changed material: the feed written back here and now, as the scroll bar's
    // own change would, and the scroll bar shown at its new place when the screen gets to it.
    state_.scrollChanged(position);
    QPointer<RunController> c(this);
    QMetaObject::invokeMethod(
        this,
        [c, position] {
            if (c && c->panel_) c->panel_->showPace(position);
        },
        Qt::QueuedConnection);
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
    p->showRunning();
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
    played_count_ = played;
    total_ = total;
    if (onScreenThread() && panel_) panel_->progress(played, total, played == total);
}

}  // namespace vornelle
