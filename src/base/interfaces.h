// What engines and pages ask of the windowing side, as interfaces: message and input boxes,
// moving between pages, yielding to pending user events, and the busy pointer. The Qt
// implementations live in app/; tests script them.
#pragma once

#include <optional>
#include <string>

namespace vornelle {

// Message-box styles: buttons, icon and default button in one number.
namespace style {
constexpr int kQuestionYesNo = 36;   // question icon, Yes and No
constexpr int kStopOk = 272;         // stop icon, OK
constexpr int kStopYesNo = 276;      // stop icon, Yes and No, No by default
constexpr int kQuestionOk = 288;     // question icon, OK
constexpr int kExclamationOk = 304;  // exclamation icon, OK
}  // namespace style

enum class Button { Ok, Yes, No };

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Modal box; texts are UTF-8. Returns the button pressed.
    virtual Button message(const std::string& text, int style, const std::string& title) = 0;
    // Modal one-line input box; no value when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& initial) = 0;
};

enum class PageId { Dessin, Mach, Configuration, Form5, Form2, Decencours, Form7 };

class Navigator {
  public:
    virtual ~Navigator() = default;
    // Creates and loads the page when it does not exist, else brings it forward.
    virtual void show(PageId page) = 0;
    // Hides the page; it stays loaded with its fields.
    virtual void hide(PageId page) = 0;
    // Unloads the page; the next show loads it afresh.
    virtual void close(PageId page) = 0;
};

class Yield {
  public:
    virtual ~Yield() = default;
    // Lets pending clicks and repaints run to their end, then returns.
    virtual void yield() = 0;
    // Called over and over while a run waits for the operator (a pause): may rest a little
    // instead of spinning.
    virtual void idle() { yield(); }
};

class BusyPointer {
  public:
    virtual ~BusyPointer() = default;
    virtual void setBusy(bool busy) = 0;
};

// Shows the hourglass for its lifetime and always restores the pointer.
class BusyGuard {
  public:
    explicit BusyGuard(BusyPointer& p) : p_(p) { p_.setBusy(true); }
    ~BusyGuard() { p_.setBusy(false); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    BusyPointer& p_;
};

}  // namespace vornelle
