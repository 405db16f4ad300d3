// The tool page's group "Stratégie de coupe": tool diameter and compensation, depth per pass,
// holding tabs and cut direction, each field found by the caption of its label. Empty fields
// and the first choice of each list leave the classic generation as it is.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

#include "cutfile/strategy/settings.h"

namespace vornelle {

class StrategyBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit StrategyBox(QWidget* parent = nullptr);

    // The settings as typed: the lists give their keywords, "" for their first choice.
    StrategyTexts texts() const;
    // Shows settings kept in a details file (empty ones: the classic generation).
    void setTexts(const StrategyTexts& t);

  private:
    QLineEdit* field(const char* name, const char* caption, const char* tip, int place);

    QLineEdit *diameter_, *step_, *tabs_, *tabWidth_, *tabHeight_;
    QComboBox *compensation_, *direction_;
    // The first choices as a details file named them ("auto", "conventionnel" or ""): named,
    // they are settings given, and the generation stays the strategy's.
    std::string firstCompensation_, firstDirection_;
};

}  // namespace vornelle
