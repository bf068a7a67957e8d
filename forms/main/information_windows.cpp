// «О ГАДАЛКЕ» and «О ПРОГРАММЕ».
#include "forms/main/information_windows.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "forms/kit/error_report.h"
#include "forms/kit/widgets.h"
#include "resources/pictures.h"

using namespace forms;

namespace forms {

InformationWindow::InformationWindow(const char* name, const QString& caption, QSize client) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    SetAccessibleText(this, caption);
    // A dialog frame with no title-bar buttons: the window's own button closes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(client);
}

void InformationWindow::showAndRaise() {
    show();
    raise();
    activateWindow();
}

void InformationWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        CenterOnScreen(this);
    }
}

}  // namespace forms

TForm2::TForm2(const ErrorReporter& reportError)
    : InformationWindow("Form2", QStringLiteral("О ГАДАЛКЕ"), {651, 354}) {
    Memo1 = Named(new QPlainTextEdit(this), "Memo1");
    Memo1->setGeometry(0, 0, 651, 317);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setFont(PixelFont(kTimes, 17, true));
    SetBackground(Memo1, colors::kSilver);
    SetAccessibleText(Memo1, QStringLiteral("О гадалке"), QStringLiteral("Вступительный текст"));

    auto* button = MakeButton(this, "Button1", {188, 324, 257, 25}, QStringLiteral("СПАСИБО"));
    SetAccessibleText(button, QStringLiteral("Спасибо"), QStringLiteral("Закрыть окно"));
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    connect(button, &QPushButton::clicked, this, &QDialog::close);

    RunGuarded(reportError, [this] { loadIntroduction(); });
}

void TForm2::loadIntroduction() {
    const QString text = QString::fromStdString(base::LoadText(divination::ReadingFilePath(65)));
    ShowText(Memo1, text);
}

QString TForm2::text() const {
    return Memo1->toPlainText();
}

namespace {

// The window's fixed text; lines 2, 8 and 9 are the maker's own.
const char* const kAboutLines[] = {
    "",
    "Сделано в России, декабрь 2001 г.",
    "------------------------------------------------------------------",
    "\"ТАЙНОВИД\"",
    "версия от 04.12.2001 г.",
    "------------------------------------------------------------------",
    "автор программы",
    "Разработчики ТАЙНОВИДА",
    "email: taynovid@example.org",
    "--------------------------------------------------",
    "",
    " ",
    " ",
    "",
    "",
    " ",
    "",
};

}  // namespace

TForm3::TForm3() : InformationWindow("Form3", QStringLiteral("О ПРОГРАММЕ"), {637, 292}) {
    Memo1 = Named(new QTextEdit(this), "Memo1");
    Memo1->setGeometry(0, 0, 513, 289);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(PixelFont(kSansSerif, 13, true));
    SetTextColor(Memo1, colors::kYellow);
    SetBackground(Memo1, colors::kMaroon);
    QStringList lines;
    for (const char* line : kAboutLines)
        lines << QString::fromUtf8(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    CenterLines(Memo1);
    SetAccessibleText(Memo1, QStringLiteral("О программе"),
                      QStringLiteral("Название, версия и автор программы"));

    // The picture comes at the first show (showEvent): most runs never open
    // this window, and decoding and scaling it would only slow the start.
    auto* image = MakeImage(this, "Image1", {514, 0, 122, 169}, {});
    SetAccessibleText(image, QStringLiteral("ТАЙНОВИД"),
                      QStringLiteral("Картинка: восемь триграмм вокруг знака инь-ян"));

    auto* button = MakeButton(this, "Button1", {514, 256, 121, 33}, QStringLiteral("Закрыть"));
    button->setFont(PixelFont(kSansSerif, 19));
    button->setCursor(Qt::ArrowCursor);
    connect(button, &QPushButton::clicked, this, &QDialog::close);
}

void TForm3::showEvent(QShowEvent* event) {
    InformationWindow::showEvent(event);
    auto* image = findChild<QLabel*>(QStringLiteral("Image1"));
    if (!image->pixmap().isNull())
        return;
    // Scaled down to its frame with its proportions kept, centred; on a
    // dense screen to the frame's size in device pixels.
    const int scale = ScreenPictureScale(this);
    QImage picture = resources::LoadPicture(QStringLiteral("about.jpg"), scale);
    if (picture.isNull())
        return;
    picture = picture.scaled(image->size() * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(scale);
    image->setPixmap(QPixmap::fromImage(picture));
}

QString TForm3::text() const {
    return Memo1->toPlainText();
}
