// The casting modes, the look of the table buttons, the table command and
// the sound switch: the commands that end by saving the settings (N12).
#include <QPushButton>
#include <QToolButton>

#include "forms/main/item_names.h"
#include "forms/main/main_window.h"

using namespace forms;

namespace {

struct ModeLook {
    const char* mainItem;
    const char* caption;
    const char* hint;
    const char* spoken;  // what a screen reader says of the mode button
};

// Indexed by CastMode − 1.
constexpr ModeLook kModes[3] = {
    {kAutomaticItem, "автомат", "автоматически режим гадания", "Автоматический режим гадания"},
    {kSemiAutomaticItem, "полуавтомат", "полуавтоматически режим гадания",
     "Полуавтоматический режим гадания"},
    {kNormalItem, "обычный", "обычный режим гадания", "Обычный режим гадания"},
};

}  // namespace

void TForm1::SelectMode(int mode) {
    settings_.CastMode = mode;
    for (int m = settings::kAutomaticMode; m <= settings::kNormalMode; ++m)
        menus_.setEnabled(kModes[m - 1].mainItem, m != mode);
    SpeedButton69->setText(QString::fromUtf8(kModes[mode - 1].caption));
    SpeedButton69->setToolTip(QString::fromUtf8(kModes[mode - 1].hint));
    SpeedButton69->setAccessibleName(QStringLiteral("Режим гадания: ") + SpeedButton69->text());
    SpeedButton69->setAccessibleDescription(QString::fromUtf8(kModes[mode - 1].spoken));
    Button1->setVisible(mode == settings::kAutomaticMode);
    Button4->setVisible(mode == settings::kSemiAutomaticMode);
    Button5->setVisible(mode == settings::kSemiAutomaticMode);
    Button2->setVisible(mode == settings::kNormalMode);
    Button3->setVisible(mode == settings::kNormalMode);
    Invoke(kClearOnModeChangeItem);
    Invoke(kSaveItem);
}

// Steps through the modes the view offers: all three in the full view, where
// "обычный" is shown, and only the first two in the reduced view.
void TForm1::N34Click() {
    const int last =
        isItemVisible(kNormalItem) ? settings::kNormalMode : settings::kSemiAutomaticMode;
    double& mode = settings_.CastMode;
    mode = mode >= last ? settings::kAutomaticMode : mode + 1;
    if (mode == settings::kAutomaticMode || mode == settings::kSemiAutomaticMode ||
        mode == settings::kNormalMode)
        Invoke(kModes[static_cast<int>(mode) - 1].mainItem);
}

// Decides by the cell's text, not by ButtonsFlat: the settings load relies
// on that to arrive at the stored look.
void TForm1::N13Click() {
    const bool flat = Edit12 != QLatin1String("0");
    Edit12 = flat ? QStringLiteral("0") : QStringLiteral("1");
    menus_.setCaption(kButtonsItem, flat ? QStringLiteral("показать") : QStringLiteral("скрыть"));
    settings_.ButtonsFlat = flat ? settings::kButtonsFlat : settings::kButtonsRaised;
    for (QToolButton* button : tableButtons_)
        button->setAutoRaise(flat);
    Invoke(kSaveItem);
}

void TForm1::N30Click() {
    if (settings_.TableState == settings::kTableShown)
        HideTable();
    else
        ShowTable();
    Invoke(kSaveItem);
}

void TForm1::N16Click() {
    const bool wasOff = Edit10 == QLatin1String("0");
    Edit10 = wasOff ? QStringLiteral("1") : QStringLiteral("0");
    menus_.setCaption(kSoundItem,
                      wasOff ? QStringLiteral("отключить") : QStringLiteral("включить"));
    SpeedButton67->setVisible(wasOff);
    SpeedButton68->setVisible(!wasOff);
    settings_.SoundOff = wasOff ? settings::kSoundOn : settings::kSoundOff;
    Invoke(kSaveItem);
}
