// Small factories for the controls the windows are built of, so that each
// window's layout reads as a list of names, places and looks.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

#include <functional>

class QLabel;
class QPixmap;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QToolButton;
class QWidget;

namespace forms {

namespace colors {
inline const QColor kSilver{192, 192, 192};
inline const QColor kMaroon{128, 0, 0};
inline const QColor kYellow{255, 255, 0};
inline const QColor kBlue{0, 0, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kGray{128, 128, 128};
inline const QColor kBlack{0, 0, 0};
}  // namespace colors

inline const QString kSansSerif = QStringLiteral("MS Sans Serif");
inline const QString kTimes = QStringLiteral("Times New Roman");

// "MS Sans Serif" is asked for by name; where it is missing, the
// metric-compatible free sans stands in rather than a wider default.
void InstallFontSubstitutes();

// A font's size in points, also for one set in pixels (at 96 per inch).
int PointSize(const QFont& font);

// A font by name and character height in pixels; kSansSerif comes as the
// installed face it stands for.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

void SetColorRole(QWidget* widget, QPalette::ColorRole role, const QColor& color);
void SetTextColor(QWidget* widget, const QColor& color);
// The caption of a group box only, not the text of the controls inside it.
void SetCaptionColor(QWidget* groupBox, const QColor& color);
void SetBackground(QWidget* widget, const QColor& color);

// Every control carries its name, so tests find it by objectName.
template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The scale of the pictures for a window: 2 where its screen's device pixel
// ratio is above 1, else 1 (see resources::PictureScale).
int ScreenPictureScale(const QWidget* window);

// An embedded picture by file name at scale 1 or 2, ready to be shown at
// its size in logical pixels.
QPixmap Picture(const QString& name, int scale);

// A picture shown unscaled and centred in its frame.
QLabel* MakeImage(QWidget* parent, const char* name, const QRect& geometry, const QPixmap& picture);

// What a screen reader says of a control: its name and, where the name
// alone is not enough, a description.
void SetAccessibleText(QWidget* widget, const QString& name, const QString& description = {});

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& caption);

// A flat button that raises its frame under the pointer.
QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QRect& geometry);

// Shows the text unless it is the one already shown, which then keeps its
// scroll position. Compares with the text as given, not as the edit gives it
// back (that turns non-breaking spaces into blanks).
void ShowText(QPlainTextEdit* edit, const QString& text);

// Centres every line of the text.
void CenterLines(QTextEdit* edit);

// Places a top-level window at the centre of its screen.
void CenterOnScreen(QWidget* window);

// What a name typed in a save dialog comes to. `filters` lists every
// format the command writes («PDF (*.pdf);;HTML (*.html *.htm)»; a filter
// of «*» takes any name). A name ending in one of them is kept, whichever
// filter is selected: the name decides the format. A bare name gets the
// selected filter's first suffix. Another suffix (a date, «.doc») leaves
// `path` as typed and `suggested` with the filter's suffix added, for the
// user to choose.
struct SaveName {
    QString path;
    QString suggested;  // empty: nothing to ask
};
SaveName DecideSaveName(const QString& typed, const QString& filters,
                        const QString& selectedFilter);

// The name to write, empty when the user declines: asks once through `ask`
// whether to add the filter's suffix where DecideSaveName suggests it, and
// whether to replace a file the name comes to when the dialog saw another.
QString SettleSaveName(const QString& typed, const QString& filters, const QString& selectedFilter,
                       const std::function<bool(const QString& question)>& ask);

// The file dialog: a file to write (save) or to read; empty when the user
// cancels. A name to write is settled by SettleSaveName, asked in a
// message box.
QString ChooseFile(QWidget* parent, const QString& caption, const QString& filter, bool save);
// The folder a file dialog opens in.
QString DialogFolder();

}  // namespace forms
