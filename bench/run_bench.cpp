// The cutting run on the simulated machine with the panel shown on the offscreen platform,
// through the real yield and pause: (a) records per second at feed 100 (no delay); (b) at
// 20 us per delay, the median and 99th-percentile error of the interval between successive
// step writes (requested: two delays, 40 us).
#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "run/runcontroller.h"
#include "ui/qtservices.h"

namespace {
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
}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vornelle-run-bench";
    fs::create_directories(dir);
    // A cut file of X and Y steps: 1,000,000 records.
    std::string def = (dir / "bench.def").string();
    {
        std::ofstream f(def, std::ios::binary);
        for (int i = 0; i < 1000000; ++i) f << (i % 3 == 0 ? "10\r\n" : "2\r\n");
    }
    Yes dialogs;
    NoNavigation nav;
    vornelle::QtYield yield;
    vornelle::CountedPause pacer;
    vornelle::QtBusyPointer pointer;
    vornelle::PortSelector ports(false);
    vornelle::RunState state;
    vornelle::RunController runner(state, nav, dialogs, yield, pacer, pointer, ports);

    // (a) feed 100: no delay.
    ports.simulated().setRecording(false);
    std::unique_ptr<QWidget> fast(toolPage(def, "100"));
    auto t0 = std::chrono::steady_clock::now();
    vornelle::RunOutcome a = runner.run(fast.get(), vornelle::RunVariant::Command11);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("(a) feed 100: %llu records in %.3f s = %.0f records/s (%.2f us per record)\n",
                static_cast<unsigned long long>(a.records), s, a.records / s, 1e6 * s / a.records);

    // (b) 20 us per delay: V = 21 with c = 0,01 makes 2000 iterations of 10 ns.
    std::string def2 = (dir / "bench2.def").string();
    {
        std::ofstream f(def2, std::ios::binary);
        for (int i = 0; i < 100000; ++i) f << "2\r\n";
    }
    ports.simulated().clear();
    ports.simulated().setRecording(true);
    std::unique_ptr<QWidget> paced(toolPage(def2, "79"));
    runner.run(paced.get(), vornelle::RunVariant::Command11);
    const auto& rec = ports.simulated().record();
    std::vector<double> err;
    for (size_t i = 3; i < rec.size(); i += 2)
        err.push_back(std::chrono::duration<double, std::micro>(rec[i].time - rec[i - 2].time).count() -
                      40.0);
    std::sort(err.begin(), err.end());
    std::printf(
        "(b) 20 us per delay: %zu intervals between step writes, requested 40 us; error median %.3f us, "
        "p99 %.3f us, max %.3f us\n",
        err.size(), err[err.size() / 2], err[err.size() * 99 / 100], err.back());
    fs::remove_all(dir);
}
