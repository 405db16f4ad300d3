// The cutting run through the real controller and panel on the offscreen platform, the
// record loop on the machine's thread: (a) records per second at feed 100 (no delay);
// (b) at 20 us and 80 us per delay, the median, p99 and max error of every interval between
// successive step writes, beside a bare busy-wait of the same length measured in the same run.
#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "run/page/runcontroller.h"
#include "ui/qtservices.h"

namespace {
using Clock = std::chrono::steady_clock;

struct Yes : vornelle::Dialogs {
    vornelle::Button message(const std::string&, int, const std::string&) override {
        return vornelle::Button::Yes;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&,
                                        const std::string& i) override {
        return i;
    }
};
struct NoNavigation : vornelle::Navigator {
    void show(vornelle::PageId) override {}
    void hide(vornelle::PageId) override {}
    void close(vornelle::PageId) override {}
};

QWidget* toolPage(const std::string& def, const char* feed) {
    auto* w = new QWidget;
    auto* l = new QVBoxLayout(w);
    auto add = [&](const char* name, const std::string& text) {
        auto* e = new QLineEdit(QString::fromStdString(text));
        e->setObjectName(name);
        l->addWidget(e);
    };
    add("Text9", def);
    add("Text10", feed);
    add("Text11", feed);
    add("Text2", "0,01");
    add("Text5", "400");
    add("Text8", "5");
    const char* weights[] = {"1", "2", "4", "8", "16", "32", "64", "128"};
    for (int i = 0; i < 8; ++i) add(("Text" + std::to_string(13 + i)).c_str(), weights[i]);
    w->setProperty("port", 888);
    return w;
}

struct Figures {
    double median, p99, max;
};

Figures figures(std::vector<double> err) {
    std::sort(err.begin(), err.end());
    return {err[err.size() / 2], err[err.size() * 99 / 100], err.back()};
}

// The same intervals from a bare busy-wait: two waits of `us` per step, as the run makes.
std::vector<double> bare(double us, size_t steps) {
    const auto d = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::micro>(us));
    std::vector<double> err;
    err.reserve(steps);
    auto last = Clock::now();
    for (size_t i = 0; i < steps; ++i) {
        for (int k = 0; k < 2; ++k) {
            auto end = Clock::now() + d;
            while (Clock::now() < end) {
            }
        }
        auto now = Clock::now();
        err.push_back(std::chrono::duration<double, std::micro>(now - last).count() - 2 * us);
        last = now;
    }
    return err;
}

void waitEnd(vornelle::Machine& m) {
    // Sleeps between events as the program's own event loop does: the screen's thread
    // must not take the core the machine's thread paces on.
    while (m.busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vornelle-run-bench";
    fs::create_directories(dir);
    // A cut file of X and Y steps: 2,000,000 records.
    std::string def = (dir / "bench.def").string();
    {
        std::ofstream f(def, std::ios::binary);
        for (int i = 0; i < 2000000; ++i) f << (i % 3 == 0 ? "10\r\n" : "2\r\n");
    }
    Yes dialogs;
    NoNavigation nav;
    vornelle::CountedPause pacer;
    vornelle::QtBusyPointer pointer;
    vornelle::PortSelector ports(false);
    vornelle::Machine machine(ports, vornelle::postToScreen(&app));
    vornelle::RunState state;
    vornelle::RunController runner(state, nav, dialogs, pacer, pointer, machine);

    // (a) feed 100: no delay.
    ports.simulated().setRecording(false);
    std::unique_ptr<QWidget> fast(toolPage(def, "100"));
    auto t0 = Clock::now();
    runner.run(fast.get(), vornelle::RunVariant::Command11);
    waitEnd(machine);
    double s = std::chrono::duration<double>(Clock::now() - t0).count();
    uint64_t records = runner.last().records;
    std::printf("(a) feed 100: %llu records in %.3f s = %.0f records/s (%.3f us per record)\n",
                static_cast<unsigned long long>(records), s, records / s, 1e6 * s / records);

    // (b) V = 21 with c = 0,01 makes 2000 iterations of 10 ns (20 us); V = 81, 80 us.
    for (auto [us, feed, n] : {std::tuple{20.0, "79", 100000}, std::tuple{80.0, "19", 30000}}) {
        std::string def2 = (dir / "paced.def").string();
        {
            std::ofstream f(def2, std::ios::binary);
            for (int i = 0; i < n; ++i) f << "2\r\n";
        }
        // Half of the bare busy-wait before the run and half after, so that both see the
        // machine's load alike.
        std::vector<double> bareErr = bare(us, n / 2);
        ports.simulated().clear();
        ports.simulated().setRecording(true);
        std::unique_ptr<QWidget> paced(toolPage(def2, feed));
        runner.run(paced.get(), vornelle::RunVariant::Command11);
        waitEnd(machine);
        const auto& rec = ports.simulated().record();
        std::vector<double> err;
        for (size_t i = 3; i < rec.size(); i += 2)
            err.push_back(std::chrono::duration<double, std::micro>(rec[i].time - rec[i - 2].time).count() -
                          2 * us);
        Figures run = figures(err);
        std::vector<double> after = bare(us, n / 2);
        bareErr.insert(bareErr.end(), after.begin(), after.end());
        Figures wait = figures(bareErr);
        std::printf(
            "(b) %.0f us per delay, %zu step intervals of %.0f us: run error median %.3f p99 %.3f max %.3f us; "
            "bare busy-wait median %.3f p99 %.3f max %.3f us; p99 ratio %.2f\n",
            us, err.size(), 2 * us, run.median, run.p99, run.max, wait.median, wait.p99, wait.max,
            wait.p99 > 0 ? run.p99 / wait.p99 : 0.0);
    }
    fs::remove_all(dir);
}
