// The casting modes, the look of the table buttons, the table command and
// the sound switch: the commands that end by saving the settings (N12).
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "forms/main_window.h"

namespace {

struct ModeLook {
    const char* mainItem;
    const char* caption;
    const char* hint;
    const char* spoken;  // what a screen reader says of the mode button
};

// Indexed by CastMode − 1.
constexpr ModeLook kModes[3] = {
    {"N5", "автомат", "автоматически режим гадания", "Автоматический режим гадания"},
    {"N6", "полуавтомат", "полуавтоматически режим гадания", "Полуавтоматический режим гадания"},
    {"N14", "обычный", "обычный режим гадания", "Обычный режим гадания"},
};

}  // namespace

void TForm1::SelectMode(int mode) {
    settings_.CastMode = mode;
    for (int m = 1; m <= 3; ++m)
        setItemEnabled(QString::fromLatin1(kModes[m - 1].mainItem), m != mode);
    SpeedButton69->setText(QString::fromUtf8(kModes[mode - 1].caption));
    SpeedButton69->setToolTip(QString::fromUtf8(kModes[mode - 1].hint));
    SpeedButton69->setAccessibleName(QStringLiteral("Режим гадания: ") + SpeedButton69->text());
    SpeedButton69->setAccessibleDescription(QString::fromUtf8(kModes[mode - 1].spoken));
    Button1->setVisible(mode == 1);
    Button4->setVisible(mode == 2);
    Button5->setVisible(mode == 2);
    Button2->setVisible(mode == 3);
    Button3->setVisible(mode == 3);
    Invoke(QStringLiteral("N46"));
    Invoke(QStringLiteral("N12"));
}

// Steps through the modes the view offers: all three in the full view, where
// "обычный" is shown, and only the first two in the reduced view.
void TForm1::N34Click() {
    const int last = isItemVisible(QStringLiteral("N14")) ? 3 : 2;
    double& mode = settings_.CastMode;
    mode = mode >= last ? 1 : mode + 1;
    if (mode == 1 || mode == 2 || mode == 3)
        Invoke(QString::fromLatin1(kModes[static_cast<int>(mode) - 1].mainItem));
}

// Decides by the cell's text, not by ButtonsFlat: the settings load relies
// on that to arrive at the stored look.
void TForm1::N13Click() {
    const bool flat = Edit12 != QLatin1String("0");
    Edit12 = flat ? QStringLiteral("0") : QStringLiteral("1");
    setItemCaption(QStringLiteral("N13"),
                   flat ? QStringLiteral("показать") : QStringLiteral("скрыть"));
    settings_.ButtonsFlat = flat ? 1 : 0;
    for (QToolButton* button : tableButtons_)
        button->setAutoRaise(flat);
    Invoke(QStringLiteral("N12"));
}

void TForm1::N30Click() {
    if (settings_.TableState == 2)
        HideTable();
    else
        ShowTable();
    Invoke(QStringLiteral("N12"));
}

void TForm1::N16Click() {
    const bool wasOff = Edit10 == QLatin1String("0");
    Edit10 = wasOff ? QStringLiteral("1") : QStringLiteral("0");
    setItemCaption(QStringLiteral("N16"),
                   wasOff ? QStringLiteral("отключить") : QStringLiteral("включить"));
    SpeedButton67->setVisible(wasOff);
    SpeedButton68->setVisible(!wasOff);
    settings_.SoundOff = wasOff ? 0 : 1;
    Invoke(QStringLiteral("N12"));
}
