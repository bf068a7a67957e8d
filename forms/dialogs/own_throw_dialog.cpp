// The own-throw dialog: six rows, line 1 at the bottom, as the lines are drawn.
#include "forms/dialogs/own_throw_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "forms/kit/hexagram_figure.h"
#include "forms/kit/widgets.h"

namespace forms {

namespace {

struct ValueChoice {
    int value;
    const char* words;
};

constexpr ValueChoice kChoices[] = {
    {6, "шестёрка — прерывистая, изменяющаяся"},
    {7, "семёрка — сплошная"},
    {8, "восьмёрка — прерывистая"},
    {9, "девятка — сплошная, изменяющаяся"},
};

// The line alone, drawn as in the figure, at 1× and 2×.
QIcon LineIcon(int value) {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        divination::LineValues values{};
        values[0] = value;
        // A figure six lines high whose bottom line is this one, cut to it.
        const QImage whole = FigureImage(values, QSize(64, 96), ratio);
        icon.addPixmap(
            QPixmap::fromImage(whole.copy(0, int(80 * ratio), int(64 * ratio), int(16 * ratio))));
    }
    return icon;
}

}  // namespace

OwnThrowDialog::OwnThrowDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OwnThrowDialog"));
    setWindowTitle(QStringLiteral("Свой бросок"));
    SetAccessibleText(this, QStringLiteral("Свой бросок"));
    auto* layout = new QFormLayout;
    for (int line = 6; line >= 1; --line) {
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("OwnThrowLine%1").arg(line));
        choice->setPlaceholderText(QStringLiteral("выберите"));
        choice->setIconSize(QSize(48, 12));
        for (const ValueChoice& entry : kChoices) {
            choice->addItem(
                LineIcon(entry.value),
                QStringLiteral("%1 — %2").arg(entry.value).arg(QString::fromUtf8(entry.words)),
                entry.value);
        }
        choice->setCurrentIndex(-1);
        SetAccessibleText(choice, QStringLiteral("Черта %1").arg(line));
        auto* label = new QLabel(QStringLiteral("Черта &%1:").arg(line), this);
        label->setBuddy(choice);
        layout->addRow(label, choice);
        choices_[line - 1] = choice;
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { updateAccept(); });
    }
    auto* hint =
        new QLabel(QStringLiteral("Первая черта внизу, как её рисует традиция. Три монеты: "
                                  "орёл — 3, решка — 2, сумма даёт значение черты."),
                   this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    accept_ = buttons->addButton(QStringLiteral("Толковать"), QDialogButtonBox::AcceptRole);
    accept_->setObjectName(QStringLiteral("OwnThrowAccept"));
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("OwnThrowCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(hint);
    outer->addLayout(layout);
    outer->addWidget(buttons);
    updateAccept();
}

std::optional<divination::LineValues> OwnThrowDialog::values() const {
    divination::LineValues values{};
    for (int i = 0; i < 6; ++i) {
        if (choices_[i]->currentIndex() < 0)
            return std::nullopt;
        values[i] = choices_[i]->currentData().toInt();
    }
    return values;
}

void OwnThrowDialog::setValue(int lineNumber, int value) {
    QComboBox* choice = choices_[lineNumber - 1];
    choice->setCurrentIndex(choice->findData(value));
}

void OwnThrowDialog::updateAccept() {
    accept_->setEnabled(values().has_value());
}

std::optional<divination::LineValues> OwnThrowDialog::Ask(QWidget* parent) {
    OwnThrowDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}

}  // namespace forms
