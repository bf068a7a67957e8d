// The font dialog of the reading area.
#include "forms/dialogs/font_chooser.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QSpinBox>

#include "forms/kit/widgets.h"

namespace forms {

FontChooser::FontChooser(const QFont& initial, QWidget* parent)
    : QDialog(parent), initialFamily_(initial.family()) {
    setObjectName(QStringLiteral("FontDialog1"));
    setWindowTitle(QStringLiteral("Шрифт"));
    family_ = new QFontComboBox(this);
    family_->setObjectName(QStringLiteral("Family"));
    family_->setFontFilters(QFontComboBox::ScalableFonts);
    family_->setEditable(true);
    family_->setCurrentFont(initial);
    // The list may only hold a stand-in for the initial name; the box shows
    // the name itself, and it stays unless the user picks or types another.
    family_->setEditText(initialFamily_);
    size_ = new QSpinBox(this);
    size_->setObjectName(QStringLiteral("Size"));
    size_->setRange(8, 24);
    size_->setValue(qBound(8, PointSize(initial), 24));
    bold_ = new QCheckBox(QStringLiteral("Жирный"), this);
    bold_->setObjectName(QStringLiteral("Bold"));
    bold_->setChecked(initial.bold());
    italic_ = new QCheckBox(QStringLiteral("Курсив"), this);
    italic_->setObjectName(QStringLiteral("Italic"));
    italic_->setChecked(initial.italic());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Шрифт:"), family_);
    form->addRow(QStringLiteral("Размер:"), size_);
    form->addRow(bold_);
    form->addRow(italic_);
    form->addRow(buttons);
}

QFont FontChooser::chosenFont() const {
    // A name left as it came back exactly, blanks and commas and all; a name
    // typed or picked, without blanks around it. QFont(QString) would take a
    // comma for the end of a name, setFamily takes the whole.
    QString family = family_->currentText();
    if (family != initialFamily_)
        family = family.trimmed();
    QFont font;
    font.setFamily(family.isEmpty() ? family_->currentFont().family() : family);
    font.setPointSize(size_->value());
    font.setBold(bold_->isChecked());
    font.setItalic(italic_->isChecked());
    return font;
}

std::optional<QFont> FontChooser::Choose(const QFont& initial, QWidget* parent) {
    FontChooser dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenFont();
}

}  // namespace forms
