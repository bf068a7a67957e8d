// «Свой бросок»: six lines from real coins or yarrow stalks, each set to 6,
// 7, 8 or 9, for an interpretation that leaves the main window as it is.
#pragma once

#include <QDialog>

#include <array>
#include <optional>

#include "divination/changes.h"

class QComboBox;
class QPushButton;

namespace forms {

class OwnThrowDialog : public QDialog {
public:
    explicit OwnThrowDialog(QWidget* parent);

    // Nothing until every line has its value.
    std::optional<divination::LineValues> values() const;
    void setValue(int lineNumber, int value);

    // Modal; nothing when the user cancels.
    static std::optional<divination::LineValues> Ask(QWidget* parent);

private:
    void updateAccept();

    std::array<QComboBox*, 6> choices_{};  // line 1 first
    QPushButton* accept_ = nullptr;
};

}  // namespace forms
