// The table of hexagrams — picture, 64 numbered buttons, trigram markers —
// and the reading area that the table buttons and the casts fill.
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QToolButton>

#include <algorithm>

#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "forms/kit/widgets.h"
#include "forms/main/item_names.h"
#include "forms/main/main_window.h"

using namespace forms;

namespace {

constexpr int kButtonLefts[8] = {137, 175, 215, 255, 294, 334, 374, 414};
constexpr int kButtonTops[8] = {88, 120, 152, 184, 215, 247, 279, 311};
constexpr int kColumnMarkerLefts[8] = {127, 167, 206, 247, 287, 319, 367, 407};
constexpr int kRowMarkerTops[8] = {80, 112, 144, 176, 208, 240, 272, 304};
constexpr const char* kRowMarkerNames[8] = {"Image4",  "Image11", "Image12", "Image13",
                                            "Image14", "Image15", "Image16", "Image17"};
constexpr const char* kColumnMarkerNames[8] = {"Image18", "Image19", "Image20", "Image21",
                                               "Image22", "Image23", "Image24", "Image25"};
constexpr int kRedCaptions[] = {13, 19, 31, 40, 41, 45, 49, 59};
constexpr int kBlackCaptions[] = {3, 29, 39, 44, 47};

// A trigram as a screen reader says it: its lines from the first on.
QString TrigramLines(int trigram) {
    QStringList lines;
    for (int bit : {4, 2, 1})
        lines << ((trigram - 1) & bit ? QStringLiteral("прерывистая") : QStringLiteral("сплошная"));
    return QStringLiteral("триграмма %1: %2").arg(trigram).arg(lines.join(QStringLiteral(", ")));
}

QColor CaptionColor(int hexagram) {
    auto in = [hexagram](const auto& list) {
        return std::find(std::begin(list), std::end(list), hexagram) != std::end(list);
    };
    if (in(kRedCaptions))
        return colors::kRed;
    if (in(kBlackCaptions))
        return colors::kBlack;
    return colors::kBlue;
}

}  // namespace

void TForm1::buildTable(QGroupBox* group) {
    const QPixmap strip = picture(QStringLiteral("strip.bmp"));
    for (QLabel* label : {MakeImage(group, "Image5", {452, 188, 36, 148}, strip),
                          MakeImage(group, "Image3", {7, 21, 36, 148}, strip)})
        SetAccessibleText(label, QStringLiteral("ТАЙНОВИД"));
    QLabel* table =
        MakeImage(group, "Image1", {46, 16, 402, 321}, picture(QStringLiteral("table.bmp")));
    table->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetAccessibleText(table, QStringLiteral("Таблица гексаграмм"),
                      QStringLiteral("Столбцы: триграмма черт 1–3 (Верх), "
                                     "строки: триграмма черт 4–6 (Низ)"));

    // SpeedButton1 … SpeedButton64, row by row; captions from the one grid.
    for (int row = 1; row <= 8; ++row) {
        for (int column = 1; column <= 8; ++column) {
            const int index = (row - 1) * 8 + (column - 1);
            const QByteArray name = "SpeedButton" + QByteArray::number(index + 1);
            const int hexagram = divination::HexagramAt(row, column);
            QToolButton* button = MakeSpeedButton(
                group, name.constData(), {kButtonLefts[column - 1], kButtonTops[row - 1], 23, 17});
            button->setText(QString::number(hexagram));
            button->setFont(PixelFont(kSansSerif, 15, true));
            SetTextColor(button, CaptionColor(hexagram));
            SetAccessibleText(
                button, QStringLiteral("Гексаграмма %1").arg(hexagram),
                QStringLiteral("Показать толкование; столбец %1, строка %2").arg(column).arg(row));
            on(button, &QToolButton::clicked, [this, hexagram] { TableButtonClick(hexagram); });
            tableButtons_[index] = button;
        }
    }

    for (int k = 1; k <= 8; ++k) {
        rowMarkers_[k - 1] =
            MakeImage(group, kRowMarkerNames[k - 1], {87, kRowMarkerTops[k - 1], 41, 33},
                      picture(QStringLiteral("row_marker_%1.bmp").arg(k)));
        SetAccessibleText(rowMarkers_[k - 1], QStringLiteral("Отмечена строка %1 (Низ)").arg(k),
                          TrigramLines(k));
        rowMarkers_[k - 1]->hide();
    }
    for (int k = 1; k <= 8; ++k) {
        const int width = k == 6 ? 49 : 41;
        columnMarkers_[k - 1] =
            MakeImage(group, kColumnMarkerNames[k - 1], {kColumnMarkerLefts[k - 1], 48, width, 33},
                      picture(QStringLiteral("column_marker_%1.bmp").arg(k)));
        SetAccessibleText(columnMarkers_[k - 1], QStringLiteral("Отмечен столбец %1 (Верх)").arg(k),
                          TrigramLines(k));
        columnMarkers_[k - 1]->hide();
    }
}

void TForm1::TableButtonClick(int hexagram) {
    ShowReading(hexagram);
    consultation_.OpenTable(hexagram);
    refreshInterpretation();
}

// Loads first, so a file that fails leaves the reading area as it was; the
// same text again leaves it untouched, scroll position included.
void TForm1::ShowReading(int hexagram) {
    const QString text =
        QString::fromStdString(base::LoadText(divination::ReadingFilePath(hexagram)));
    ShowText(Memo1, text);
}

void TForm1::resetReading() {
    ShowText(Memo1, kReadingPlaceholder);
}

void TForm1::ShowTable() {
    menus_.setCaption(kTableItem, QStringLiteral("скрыть"));
    menus_.setVisible(kButtonsMenu, true);
    Memo1->resize(Memo1->width(), 180);
    SpeedButton65->hide();
    SpeedButton66->show();
    settings_.TableState = settings::kTableShown;
}

void TForm1::HideTable() {
    menus_.setCaption(kTableItem, QStringLiteral("показать"));
    menus_.setVisible(kButtonsMenu, false);
    settings_.TableState = settings::kTableHidden;
    Memo1->resize(Memo1->width(), 525);
    SpeedButton65->show();
    SpeedButton66->hide();
}
