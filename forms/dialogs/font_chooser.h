// The font dialog of the reading area: screen fonts, sizes 8 to 24 points,
// bold and italic, no effects. Qt's own font dialog can't limit the sizes.
#pragma once

#include <QDialog>
#include <QFont>

#include <optional>

class QCheckBox;
class QFontComboBox;
class QSpinBox;

namespace forms {

class FontChooser : public QDialog {
    Q_OBJECT

public:
    explicit FontChooser(const QFont& initial, QWidget* parent = nullptr);
    QFont chosenFont() const;

    // Shows the dialog modally; nothing when the user cancels.
    static std::optional<QFont> Choose(const QFont& initial, QWidget* parent);

private:
    QString initialFamily_;
    QFontComboBox* family_;
    QSpinBox* size_;
    QCheckBox* bold_;
    QCheckBox* italic_;
};

}  // namespace forms
