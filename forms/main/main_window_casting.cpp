// The casting handlers and the window side of a cast: prompt, coin faces,
// glyph list, markers, notice and sounds.
#include <QLabel>
#include <QListWidget>
#include <QString>

#include "divination/coins.h"
#include "forms/main/main_window.h"

using divination::Face;
using divination::Line;

void TForm1::Button1Click() {
    castPress([this] { divination::CastAutomatic(cast_, divination::DrawCoinNumber, *this); });
}

void TForm1::Button2Click() {
    castPress([this] { divination::CastNormal(cast_, Line::Solid, *this); });
}

void TForm1::Button3Click() {
    castPress([this] { divination::CastNormal(cast_, Line::Broken, *this); });
}

void TForm1::Button4Click() {
    castPress([this] { divination::CastSemiAutomatic(cast_, Line::Solid, *this); });
}

void TForm1::Button5Click() {
    castPress([this] { divination::CastSemiAutomatic(cast_, Line::Broken, *this); });
}

void TForm1::Button6Click() {
    castPress([this] { divination::NewHexagram(cast_, *this); });
}

void TForm1::N46Click() {
    castPress([this] { divination::ClearHexagram(cast_, *this); });
}

void TForm1::hidePrompt() {
    Label4->hide();
    Label3->hide();
}

void TForm1::showPrompt() {
    Label3->show();
    Label4->show();
}

void TForm1::showCoinFace(int coin, Face face) {
    if (face == Face::Heads) {
        headsImages_[coin]->show();
        tailsImages_[coin]->hide();
    } else {
        tailsImages_[coin]->show();
    }
}

void TForm1::hideCoins() {
    for (int coin = 0; coin < 3; ++coin) {
        headsImages_[coin]->hide();
        tailsImages_[coin]->hide();
    }
}

void TForm1::appendGlyph(Line value) {
    const std::string_view glyph = divination::Glyph(value);
    auto* row = new QListWidgetItem(QString::fromLatin1(glyph.data(), qsizetype(glyph.size())));
    row->setSizeHint(QSize(0, 13));
    // The glyph is a row of underscores: say what it draws.
    row->setData(Qt::AccessibleTextRole,
                 QStringLiteral("Черта %1: %2")
                     .arg(ListBox2->count() + 1)
                     .arg(value == Line::Solid ? QStringLiteral("сплошная")
                                               : QStringLiteral("прерывистая")));
    ListBox2->addItem(row);
}

void TForm1::clearGlyphs() {
    ListBox2->clear();
}

void TForm1::showTableWhenHidden() {
    if (settings_.TableState == settings::kTableHidden)
        ShowTable();
}

void TForm1::showNotice() {
    seams_.showNotice();
}

void TForm1::displayReading(int hexagram) {
    ShowReading(hexagram);
}

bool TForm1::soundOn() const {
    return Edit10 == QLatin1String("1");
}

void TForm1::playWave(const std::string& windowsPath) {
    seams_.player->play(windowsPath);
}

void TForm1::showColumnMarker(int trigram) {
    columnMarkers_[trigram - 1]->show();
}

void TForm1::showRowMarker(int trigram) {
    rowMarkers_[trigram - 1]->show();
}

void TForm1::hideMarkers() {
    for (QLabel* marker : rowMarkers_)
        marker->hide();
    for (QLabel* marker : columnMarkers_)
        marker->hide();
}
