// The tool page of a program session, its configuration and its cut-file command; see
// toolpagefixture.h.
#include "toolpagefixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "machinetest.h"
#include "ui/qtservices.h"

namespace vornelle::test {

std::string toolConfig(const std::string& feedIn, const std::string& feedOut) {
    return "\"200\",\"200\",\"400\",\"0,01\",\"" + feedIn + "\",\"" + feedOut +
           "\",\"2\",\"2\",\"1\",\"1\",\"2\",\"4\",\"8\",\"16\",\"32\",\"64\",\"128\",\"2\",\"3\",\"4\","
           "\"5\","
           "\"6\",\"7\",\"8\",\"9\",0,0,1\r\n";
}

ToolPageSession::ToolPageSession(PortSelector& p, const std::string& home)
    : ports(p), machine(ports, postToScreen(qApp)) {
    page = std::make_unique<ToolPage>(
        dialogs, nav, pointer, [home] { return Outcome<std::string>(home + "data/"); },
        [home] { return Outcome<std::string>(home + "data/work/"); }, run, drawing,
        [this](ToolPage* t, bool invZ) {
            runner.run(t, invZ ? RunVariant::Command12 : RunVariant::Command11);
        });
    machine.onBusyChanged([this](bool b) {
        if (page) page->setMotionBusy(b);
    });
}

ToolPageSession::~ToolPageSession() {
    waitIdle(machine);
    page.reset();
}

void ToolPageSession::makeCutFile(const std::string& fra, const std::string& name) {
    page->findChild<QLineEdit*>("text1")->setText(QString::fromStdString(fra));
    page->findChild<QLineEdit*>("Text9")->setText(QString::fromStdString(name));
    page->findChild<QPlainTextEdit*>("Text7")->setPlainText("note");
    page->findChild<QPushButton*>("Command10")->click();
}

ToolPageHome::ToolPageHome(const std::string& config) {
    std::filesystem::create_directories(dir.file("data/work"));
    if (!config.empty()) spit(dir.file("data/vrnl1.cfg"), config);
}

}  // namespace vornelle::test
