// The virtual-joystick page form5: six arrows move one axis by a chosen distance, "A la
// niche" homes the machine on its limit switches, "Arrêt" ends a running move.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <functional>
#include <optional>

#include "base/interfaces.h"
#include "config/configmachine.h"
#include "motion.h"
#include "port/portselector.h"

namespace vornelle {

class JoystickPage : public QWidget {
    Q_OBJECT
  public:
    using FolderSource = std::function<Outcome<std::string>()>;
    JoystickPage(Dialogs& dialogs, Navigator& navigator, FolderSource folder, PortSelector& ports,
                 Yield& yield, Pacer& pacer, QWidget* parent = nullptr);

    void formLoad();
    void arrow(Arrow a);
    void homing();
    void quitter();
    // "Arrêt" and Escape: the running move ends before its next step.
    void stopMove();

    std::optional<uint16_t> port() const { return port_; }
    bool moving() const { return running_ > 0; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QLineEdit* edit(const char* name, const QString& text);
    MoveContext context(PortLibrary& p);
    void begin();
    void end();
    bool ready();

    Dialogs& dialogs_;
    Navigator& navigator_;
    FolderSource folder_;
    PortSelector& ports_;
    Yield& yield_;
    Pacer& pacer_;

    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5;
    QScrollBar* HScroll1;
    QLabel* Label8;
    QCheckBox *Check1, *Check2, *Check3;
    QPushButton* stopButton_;

    // Kept from the configuration, not shown.
    int dir_[3] = {0, 0, 0};
    int clk_[3] = {0, 0, 0};
    bool inv_[3] = {false, false, false};
    std::string descenteZ_;
    std::optional<uint16_t> port_;
    Wiring wiring_;
    std::string folderPath_;

    int running_ = 0;
    bool stop_ = false;
};

}  // namespace vornelle
