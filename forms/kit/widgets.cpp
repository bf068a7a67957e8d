// Small helpers for building the windows: fonts, named controls, pictures, dialogs.
#include "forms/kit/widgets.h"

#include <QDir>
#include <QFontDatabase>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTextEdit>
#include <QToolButton>

#include "resources/pictures.h"

namespace forms {

namespace {

const QStringList& SansSerifSubstitutes() {
    static const QStringList substitutes{QStringLiteral("Liberation Sans"),
                                         QStringLiteral("DejaVu Sans")};
    return substitutes;
}

// The face the windows' own sans comes to, looked up once in the list of
// installed families. Asking for a name that isn't installed would send
// every new size through fontconfig's fallback search first, the dearest
// step of a start; the face found is the one the substitutes give.
const QString& SansSerifFace() {
    static const QString face = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString& family : QStringList{kSansSerif} + SansSerifSubstitutes())
            if (installed.contains(family, Qt::CaseInsensitive))
                return family;
        return kSansSerif;
    }();
    return face;
}

}  // namespace

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(kSansSerif, SansSerifSubstitutes());
}

int PointSize(const QFont& font) {
    return font.pointSize() > 0 ? font.pointSize() : qRound(font.pixelSize() * 72.0 / 96.0);
}

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family == kSansSerif ? SansSerifFace() : family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void SetColorRole(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void SetCaptionColor(QWidget* groupBox, const QColor& color) {
    SetColorRole(groupBox, QPalette::WindowText, color);
}

void SetBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

int ScreenPictureScale(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return resources::PictureScale(screen ? screen->devicePixelRatio() : 1.0);
}

QPixmap Picture(const QString& name, int scale) {
    return QPixmap::fromImage(resources::LoadPicture(name, scale));
}

QLabel* MakeImage(QWidget* parent, const char* name, const QRect& geometry,
                  const QPixmap& picture) {
    auto* label = Named(new QLabel(parent), name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    if (!picture.isNull())
        label->setPixmap(picture);
    return label;
}

void SetAccessibleText(QWidget* widget, const QString& name, const QString& description) {
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& caption) {
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QRect& geometry) {
    auto* button = Named(new QToolButton(parent), name);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void ShowText(QPlainTextEdit* edit, const QString& text) {
    static const char* const kShown = "shownText";
    if (edit->property(kShown).toString() == text && !edit->property(kShown).isNull())
        return;
    edit->setPlainText(text);
    edit->setProperty(kShown, text);
}

void CenterLines(QTextEdit* edit) {
    QTextCursor all(edit->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
}

void CenterOnScreen(QWidget* window) {
    // A size just changed reaches the window through its layout; take it now.
    if (window->layout())
        window->layout()->activate();
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(desktop.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

// The file dialog. A name typed without one of the chosen filter's
// suffixes gets its first one, so the filter decides the export's format.
namespace {

// Where the user last saved or opened a file, for every file dialog.
QString& LastFolder() {
    static QString folder;
    return folder;
}

}  // namespace

// The user's documents the first time (the home folder where there are
// none), then where the user last saved or opened a file; never the
// program's working folder, which installed is a hidden one of its own.
QString DialogFolder() {
    if (!LastFolder().isEmpty() && QFileInfo(LastFolder()).isDir())
        return LastFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

namespace {

// The suffixes a filter names, lower case; "*" for one that takes any name.
QStringList SuffixesOf(const QString& nameFilter) {
    static const QRegularExpression kPattern(QStringLiteral("\\*(\\.(\\w+))?(?=[\\s)]|$)"));
    QStringList suffixes;
    for (auto match = kPattern.globalMatch(nameFilter); match.hasNext();) {
        const QRegularExpressionMatch next = match.next();
        suffixes << (next.hasCaptured(2) ? next.captured(2).toLower() : QStringLiteral("*"));
    }
    return suffixes;
}

}  // namespace

SaveName DecideSaveName(const QString& typed, const QString& filters,
                        const QString& selectedFilter) {
    QStringList written;
    for (const QString& filter : filters.split(QStringLiteral(";;")))
        written << SuffixesOf(filter);
    QStringList selected = SuffixesOf(selectedFilter);
    selected.removeAll(QStringLiteral("*"));
    // "cast." is a bare name with a stray dot.
    QString path = typed;
    while (path.endsWith(QLatin1Char('.')))
        path.chop(1);
    const QString suffix = QFileInfo(path).suffix().toLower();
    // «Все файлы (*)» selected: the name as typed.
    if (selected.isEmpty())
        return {typed, {}};
    if (suffix.isEmpty())
        return {path + u'.' + selected.constFirst(), {}};
    if (written.contains(suffix) || written.contains(QStringLiteral("*")))
        return {typed, {}};
    return {typed, typed + u'.' + selected.constFirst()};
}

QString SettleSaveName(const QString& typed, const QString& filters, const QString& selectedFilter,
                       const std::function<bool(const QString& question)>& ask) {
    const SaveName decided = DecideSaveName(typed, filters, selectedFilter);
    QString path = decided.path;
    if (!decided.suggested.isEmpty()) {
        if (!ask(QStringLiteral("Программа не пишет файлы «.%1». Сохранить как «%2»?")
                     .arg(QFileInfo(typed).suffix(), QFileInfo(decided.suggested).fileName())))
            return {};
        path = decided.suggested;
    }
    // The dialog asked about the name it was given, not about this one.
    if (path != typed && QFileInfo::exists(path) &&
        !ask(QStringLiteral("Файл «%1» уже есть. Заменить его?").arg(QFileInfo(path).fileName())))
        return {};
    return path;
}

QString ChooseFile(QWidget* parent, const QString& caption, const QString& filter, bool save) {
    QFileDialog dialog(parent, caption, DialogFolder(), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed bare gets the filter's suffix from the dialog itself,
    // which then asks before it replaces a file of that name.
    const auto followFilter = [&](const QString& nameFilter) {
        QStringList suffixes = SuffixesOf(nameFilter);
        suffixes.removeAll(QStringLiteral("*"));
        dialog.setDefaultSuffix(suffixes.isEmpty() ? QString() : suffixes.constFirst());
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString typed = dialog.selectedFiles().constFirst();
    LastFolder() = QFileInfo(typed).absolutePath();
    if (!save)
        return typed;
    return SettleSaveName(typed, filter, dialog.selectedNameFilter(), [&](const QString& question) {
        return QMessageBox::question(parent, caption, question) == QMessageBox::Yes;
    });
}

}  // namespace forms
