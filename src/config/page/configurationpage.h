// The configuration page: edits the machine-parameter record, turns every connector pin into
// its data-bit weight as it is typed, and saves vrnl1.cfg.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>
#include <functional>

#include "base/interfaces.h"
#include "base/outcome.h"
#include "config/configmachine.h"

class QHBoxLayout;
class QVBoxLayout;
namespace vornelle {
class RampsGroup;
}

namespace vornelle {

class ConfigurationPage : public QWidget {
    Q_OBJECT
  public:
    using FolderSource = std::function<Outcome<std::string>()>;
    ConfigurationPage(Dialogs& dialogs, Navigator& navigator, FolderSource folder, QWidget* parent = nullptr);

    // Fills the controls from vrnl1.cfg; every error is ignored (missing file: empty page).
    void formLoad();
    // "Sauvegarder la configuration et fermer la page ".
    void save();

    // The record as the page would save it.
    configmachine record() const;

  private:
    // The build steps, in the order the constructor calls them: that order is the order the
    // widgets join the page, which the tab chain and screen readers follow.
    void buildNotice(QVBoxLayout* top);
    void buildMachineParameters(QHBoxLayout* columns);
    void buildPortParameters(QHBoxLayout* columns);
    void buildWeightBoxes();
    void buildSaveButton(QVBoxLayout* top);

    QLineEdit* box(const char* name, const QString& text = {});
    void applyPinRule(QLineEdit* pin, QLineEdit* weight);
    QWidget* connectorDrawing();

    Dialogs& dialogs_;
    Navigator& navigator_;
    FolderSource folder_;
    QLineEdit* Text[26] = {};      // Text1..Text25, index by number
    QCheckBox* Check[4] = {};      // Check1..Check3
    RampsGroup* ramps_ = nullptr;  // vrnlrampes.cfg, beside vrnl1.cfg
};

}  // namespace vornelle
