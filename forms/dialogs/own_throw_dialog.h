// «Свой бросок»: six lines from real coins or yarrow stalks, each set to 6,
// 7, 8 or 9 or given by the three held totals of real stalks, for an
// interpretation that leaves the main window as it is.
#pragma once

#include <QDialog>

#include <array>
#include <optional>

#include "divination/changes.h"
#include "divination/yarrow.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace forms {

// What the user brings: the six values, and the totals when every line was
// given by real stalks.
struct OwnThrow {
    divination::LineValues values{};
    std::optional<divination::StalkTotals> totals;
};

class OwnThrowDialog : public QDialog {
public:
    explicit OwnThrowDialog(QWidget* parent);

    // Nothing until every line has its value.
    std::optional<divination::LineValues> values() const;
    // The totals typed for every line, or nothing.
    std::optional<divination::StalkTotals> totals() const;
    void setValue(int lineNumber, int value);

    // Modal; nothing when the user cancels.
    static std::optional<OwnThrow> Ask(QWidget* parent);

private:
    void updateAccept();
    void totalsTyped(int line);

    std::array<QComboBox*, 6> choices_{};  // line 1 first
    std::array<QLineEdit*, 6> totals_{};
    QPushButton* accept_ = nullptr;
};

}  // namespace forms
