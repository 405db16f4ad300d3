// The configuration page's group of acceleration ramps: the five settings of vrnlrampes.cfg,
// each box named by its label; all empty means no ramps.
#pragma once

#include <QGroupBox>
#include <QLineEdit>

#include "config/rampsettings.h"

namespace vornelle {

class RampsGroup : public QGroupBox {
    Q_OBJECT
  public:
    explicit RampsGroup(QWidget* parent = nullptr);
    // The boxes from the file in `folder`; a missing or damaged file leaves them empty.
    void load(const std::string& folder);
    RampTexts texts() const;

  private:
    QLineEdit* boxes_[5] = {};
};

}  // namespace vornelle
