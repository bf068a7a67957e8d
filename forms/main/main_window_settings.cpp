// The settings file and what it holds for the window: load and apply at
// start, save; the reading area's font and colours; the full and reduced views.
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

#include "base/text_file.h"
#include "forms/main/item_names.h"
#include "forms/main/main_window.h"

using namespace forms;
#include "forms/kit/widgets.h"
#include "settings/settings_file.h"

using forms::SetColorRole;

namespace {

// Colours are packed with red in the lowest byte.
QColor Unpack(std::int32_t packed) {
    return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}

std::int32_t Pack(const QColor& color) {
    return color.red() | color.green() << 8 | color.blue() << 16;
}

int StyleCode(const QFont& font) {
    return (font.bold() ? 1 : 0) + (font.italic() ? 2 : 0);
}

}  // namespace

void TForm1::N12Click() {
    // Variables never loaded nor defaulted hold nothing the user set; saving
    // them would overwrite the file that could not be read.
    if (settingsFilled_)
        settings::SaveSettings(settings_);
}

void TForm1::N17Click() {
    settings::LoadSettings(settings_, &settingsFilled_);
    const settings::Settings& s = settings_;

    if (s.CastMode == settings::kAutomaticMode)
        Invoke(kAutomaticItem);
    else if (s.CastMode == settings::kSemiAutomaticMode)
        Invoke(kSemiAutomaticItem);
    else if (s.CastMode == settings::kNormalMode)
        Invoke(kNormalItem);

    // Both toggles turn away from the text they find, so the stored state
    // comes out unchanged.
    Edit12 = QString::fromStdString(settings::ShortestText(s.ButtonsFlat));
    Invoke(kButtonsItem);
    Edit10 = QString::fromStdString(settings::ShortestText(s.SoundOff));
    Invoke(kSoundItem);

    fontDialogFont_.setPointSize(s.FontSize > 0 ? s.FontSize : forms::PointSize(fontDialogFont_));
    if (!s.FontName.empty())
        fontDialogFont_.setFamily(QString::fromStdString(s.FontName));
    QFont font = fontDialogFont_;
    switch (s.FontStyleCode) {
        case 0:
        case 1:
        case 2:
        case 3:
            font.setBold(s.FontStyleCode & 1);
            font.setItalic(s.FontStyleCode & 2);
            break;
        default:
            break;  // the style stays as the dialog's font has it
    }
    Memo1->setFont(font);
    SetColorRole(Memo1, QPalette::Text, Unpack(s.TextColor));
    SetColorRole(Memo1, QPalette::Base, Unpack(s.AreaColor));

    if (s.ViewMode == settings::kFullView)
        Invoke(kFullViewItem);
    else if (s.ViewMode == settings::kReducedView)
        Invoke(kReducedViewItem);
}

void TForm1::N41Click() {
    if (const std::optional<QFont> chosen = seams_.chooseFont(fontDialogFont_)) {
        // Save.Bmp holds the name in Windows-1251: a name it can't hold is
        // refused here, once, rather than failing every save after.
        base::EncodeCp1251(chosen->family().toStdString());
        fontDialogFont_ = *chosen;
        Memo1->setFont(*chosen);
    }
    // Confirmed or not, the variables follow the reading area's font, and
    // its colour stays the text colour.
    const QFont font = Memo1->font();
    settings_.FontSize = forms::PointSize(font);
    settings_.FontName = font.family().toStdString();
    settings_.FontStyleCode = StyleCode(font);
    SetColorRole(Memo1, QPalette::Text, Unpack(settings_.TextColor));
}

// Text (QPalette::Text) or area (QPalette::Base) colour of the reading area,
// from the one colour dialog, which keeps the last colour chosen in it.
void TForm1::chooseReadingColor(QPalette::ColorRole role, std::int32_t& variable) {
    const std::optional<QColor> chosen = seams_.chooseColor(colorDialogColor_);
    if (!chosen)
        return;
    colorDialogColor_ = *chosen;
    variable = Pack(*chosen);
    SetColorRole(Memo1, role, *chosen);
}

void TForm1::N43Click() {
    chooseReadingColor(QPalette::Text, settings_.TextColor);
}

void TForm1::N44Click() {
    chooseReadingColor(QPalette::Base, settings_.AreaColor);
}

void TForm1::N36Click() {
    // The look of the stored table state, without changing it.
    if (settings_.TableState == settings::kTableHidden ||
        settings_.TableState == settings::kTableShown) {
        const bool shown = settings_.TableState == settings::kTableShown;
        menus_.setCaption(kTableItem,
                          shown ? QStringLiteral("скрыть") : QStringLiteral("показать"));
        Memo1->resize(Memo1->width(), shown ? 180 : 525);
        menus_.setVisible(kButtonsMenu, shown);
        SpeedButton65->setVisible(!shown);
        SpeedButton66->setVisible(shown);
    }
    client_->setFixedSize(668, 532);
    GroupBox3->resize(GroupBox3->width(), 528);
    GroupBox1->move(GroupBox1->x(), 200);
    GroupBox2->show();
    Image2->move(Image2->x(), 458);
    menus_.setVisible(kNormalItem, true);
    settings_.ViewMode = settings::kFullView;
    menus_.setVisible(kTableMenu, true);
    menus_.setChecked(kFullViewItem, true);
    menus_.setChecked(kReducedViewItem, false);
    forms::CenterOnScreen(this);
}

void TForm1::N37Click() {
    SpeedButton65->hide();
    SpeedButton66->hide();
    GroupBox2->hide();
    client_->setFixedSize(668, 332);
    Memo1->resize(Memo1->width(), 325);
    GroupBox3->resize(GroupBox3->width(), 329);
    GroupBox1->move(GroupBox1->x(), 0);
    Image2->move(Image2->x(), 258);
    // The reduced view offers no normal mode.
    if (settings_.CastMode == settings::kNormalMode)
        Invoke(kSemiAutomaticItem);
    menus_.setVisible(kNormalItem, false);
    settings_.ViewMode = settings::kReducedView;
    menus_.setVisible(kButtonsMenu, false);
    menus_.setVisible(kTableMenu, false);
    menus_.setChecked(kFullViewItem, false);
    menus_.setChecked(kReducedViewItem, true);
    forms::CenterOnScreen(this);
}
