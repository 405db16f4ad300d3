// "Reprendre la découpe" on the tool page: shown only while the cut file named in Text9 has a
// .reprise beside it (a cut that was stopped), and checked again whenever a motion ends.
#pragma once

#include <QPushButton>
#include <functional>
#include <string>

namespace vornelle {

class ResumeButton : public QPushButton {
    Q_OBJECT
  public:
    explicit ResumeButton(QWidget* parent = nullptr);
    // What a click does (the application's resume of the tool page's cut).
    void setAction(std::function<void()> f) { action_ = std::move(f); }
    void setCutName(const QString& name);
    // Shown when the cut file exists and has a .reprise now.
    void refresh();

  private:
    std::string cut_;
    std::function<void()> action_;
};

}  // namespace vornelle
