// The virtual-joystick page form5: six arrows move one axis by a chosen distance, "A la
// niche" homes the machine on its limit switches, "Arrêt" ends a running move.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "base/interfaces.h"
#include "config/configmachine.h"
#include "manual/homecheck.h"
#include "manual/motion.h"
#include "port/machine.h"
#include "positionlabel.h"

class QHBoxLayout;
class QVBoxLayout;

namespace vornelle {

// The tooltips of "Contrôle de position" before its first homing and between its two.
extern const char* const kCheckFirstTip;
extern const char* const kCheckSecondTip;

class JoystickPage : public QWidget {
    Q_OBJECT
  public:
    using FolderSource = std::function<Outcome<std::string>()>;
    // Moves run on `machine`, one at a time with every other motion of the program.
    JoystickPage(Dialogs& dialogs, Navigator& navigator, FolderSource folder, Machine& machine, Pacer& pacer,
                 QWidget* parent = nullptr);

    void formLoad();
    void arrow(Arrow a);
    void homing();
    // "Contrôle de position": a first press homes and notes where the switches closed; after
    // the operator's jogs or a cut, a second press homes again and shows what was lost.
    void positionCheck();
    bool positionNoted() const { return checkFirst_.has_value(); }
    void quitter();
    // "Arrêt" and Escape: the running move ends before its next step.
    void stopMove();
    // Another motion runs (or none): the arrows and "A la niche" are refused meanwhile.
    void setMotionBusy(bool busy);

    std::optional<uint16_t> port() const { return port_; }
    // One of this page's moves is running.
    bool moving() const { return own_; }
    PositionLabel* positionLabel() const { return position_; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    // Closing the page during its move stops the move and closes the page once it has ended.
    void closeEvent(QCloseEvent* e) override;

  private:
    // The build steps, in the order the constructor calls them: that order is the order the
    // widgets join the page, which the tab chain and screen readers follow.
    void buildStepsPerMm(QVBoxLayout* left);
    void buildDistance(QVBoxLayout* left);
    void buildSpeed(QVBoxLayout* left);
    void buildArrows(QHBoxLayout* top);
    void buildInversion(QVBoxLayout* right);
    void buildCommands(QVBoxLayout* right);

    QLineEdit* edit(const char* name, const QString& text);
    MoveContext context(JobContext& job);
    // Starts `move` on the machine; its message, if any, is shown under `title` at the end.
    // `done`, when given, runs on the screen once the move ended without a fault or message.
    void startMove(std::function<Status(MoveContext&)> move, const char* title,
                   std::function<void()> done = {});
    void moveEnded(const Status& s, const std::string& fault, const char* title, const std::function<void()>& done);
    HomingSetup homingSetup();
    // After a check's homing: its first notes the switches, its second compares (repeatability
    // in steps, as typed when it was pressed).
    void positionChecked(const SwitchMarks& marks, long repeatability);
    bool ready();
    void saveAndLeave();

    Dialogs& dialogs_;
    Navigator& navigator_;
    FolderSource folder_;
    Machine& machine_;
    Pacer& pacer_;

    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5;
    QScrollBar* HScroll1;
    QLabel* Label8;
    QCheckBox *Check1, *Check2, *Check3;
    QPushButton* stopButton_;
    QPushButton* checkButton_;
    QLineEdit* repeatability_;
    PositionLabel* position_;
    QList<QPushButton*> motionButtons_;  // the arrows and "A la niche"

    // Kept from the configuration, not shown.
    int dir_[3] = {0, 0, 0};
    int clk_[3] = {0, 0, 0};
    bool inv_[3] = {false, false, false};
    std::string descenteZ_;
    std::optional<uint16_t> port_;
    Wiring wiring_;
    std::string folderPath_;

    std::string wiringProblem_;  // a weight that cannot drive a line

    // Read by the move on the machine's thread.
    std::atomic<int> speed_{20};  // HScroll1
    std::mutex coefMutex_;
    std::string coefText_;  // Text4 as typed
    std::atomic<bool> stop_{false};

    // The switches' closures of the position check's first homing, until its second.
    std::optional<SwitchMarks> checkFirst_;

    bool own_ = false;         // one of this page's moves runs
    bool quitAfter_ = false;   // "quitter" pressed during the move
    bool closeAfter_ = false;  // the close box pressed during the move
};

}  // namespace vornelle
