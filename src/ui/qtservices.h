// Qt implementations of the base interfaces: message and input boxes, the yield to pending
// user events, and the application-wide busy pointer.
#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "base/interfaces.h"

namespace vornelle {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    Button message(const std::string& text, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;

  private:
    QPointer<QWidget> parent_;
};

// Qt's own texts in French (context menus of text boxes, standard buttons) when the
// translations are installed; false when they are not, and the texts stay English.
bool installQtFrench(QCoreApplication& app);

class QtYield : public Yield {
  public:
    void yield() override;
};

// Runs calls on the thread of `context` (the screen's), later, through its event queue;
// calls posted after `context` is gone are dropped.
std::function<void(std::function<void()>)> postToScreen(QObject* context);

class QtBusyPointer : public BusyPointer {
  public:
    void setBusy(bool busy) override;
};

}  // namespace vornelle
