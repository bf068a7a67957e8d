// The own-throw dialog: six rows, line 1 at the bottom, as the lines are drawn.
#include "forms/dialogs/own_throw_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

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

// Three held totals of real stalks, "5 4 8": a total that can't occur in its
// change can't be typed at all.
class TotalsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        const QStringList parts = input.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() > 3)
            return Invalid;
        // Every total is one digit: each typed is whole, and either can
        // occur in its change or is refused on the spot.
        for (int change = 0; change < parts.size(); ++change) {
            bool number = false;
            const int total = parts[change].toInt(&number);
            if (!number || !divination::IsPossibleTotal(change + 1, total))
                return Invalid;
        }
        return parts.size() == 3 ? Acceptable : Intermediate;
    }
};

std::optional<std::array<int, 3>> TotalsOf(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return std::nullopt;
    std::array<int, 3> totals{};
    for (int i = 0; i < 3; ++i)
        totals[i] = parts[i].toInt();
    if (!divination::ValueFromTotals(totals[0], totals[1], totals[2]))
        return std::nullopt;
    return totals;
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
        auto* totals = new QLineEdit(this);
        totals->setObjectName(QStringLiteral("OwnThrowTotals%1").arg(line));
        totals->setPlaceholderText(QStringLiteral("или суммы: 5 4 8"));
        totals->setValidator(new TotalsValidator(totals));
        totals->setMaximumWidth(130);
        SetAccessibleText(
            totals, QStringLiteral("Черта %1: суммы стеблей").arg(line),
            QStringLiteral("Три суммы в руке: 5 или 9, затем 4 или 8, затем 4 или 8"));
        auto* row = new QHBoxLayout;
        row->addWidget(choice, 1);
        row->addWidget(totals);
        auto* label = new QLabel(QStringLiteral("Черта &%1:").arg(line), this);
        label->setBuddy(choice);
        layout->addRow(label, row);
        choices_[line - 1] = choice;
        totals_[line - 1] = totals;
        connect(choice, &QComboBox::activated, this, [this, line] {
            totals_[line - 1]->clear();  // a value chosen by hand is no stalks' count
            updateAccept();
        });
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { updateAccept(); });
        connect(totals, &QLineEdit::textEdited, this, [this, line] { totalsTyped(line); });
    }
    auto* hint =
        new QLabel(QStringLiteral("Первая черта внизу, как её рисует традиция. Три монеты: "
                                  "орёл — 3, решка — 2, сумма даёт значение черты. Стебли: "
                                  "три суммы в руке, 5 или 9, затем 4 или 8 и 4 или 8; "
                                  "4 и 5 дают по 3, 8 и 9 — по 2."),
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

std::optional<divination::StalkTotals> OwnThrowDialog::totals() const {
    divination::StalkTotals all{};
    for (int i = 0; i < 6; ++i) {
        const std::optional<std::array<int, 3>> three = TotalsOf(totals_[i]->text());
        if (!three)
            return std::nullopt;
        for (int change = 0; change < 3; ++change)
            all[3 * i + change] = (*three)[change];
    }
    return all;
}

void OwnThrowDialog::totalsTyped(int line) {
    if (const std::optional<std::array<int, 3>> three = TotalsOf(totals_[line - 1]->text()))
        setValue(line, divination::ValueFromTotals((*three)[0], (*three)[1], (*three)[2]));
    updateAccept();
}

void OwnThrowDialog::setValue(int lineNumber, int value) {
    QComboBox* choice = choices_[lineNumber - 1];
    choice->setCurrentIndex(choice->findData(value));
}

void OwnThrowDialog::updateAccept() {
    accept_->setEnabled(values().has_value());
}

std::optional<OwnThrow> OwnThrowDialog::Ask(QWidget* parent) {
    OwnThrowDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.values())
        return std::nullopt;
    return OwnThrow{*dialog.values(), dialog.totals()};
}

}  // namespace forms
