// Start-up: the random source is seeded before any window exists, then the
// four windows are created in their order and the event loop runs until the
// main window closes.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "divination/coins.h"
#include "forms/kit/error_report.h"
#include "forms/kit/widgets.h"
#include "forms/main/information_windows.h"
#include "forms/main/main_window.h"
#include "forms/main/notice_window.h"

namespace {

// Qt's own dialogs and buttons in Russian, where the translations are
// installed. Every text of theirs the program shows is in qtbase; the
// catalogue "qt_ru" would only load qtbase a second time, with the media
// library's texts, which the program never shows.
void LoadRussianTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

}  // namespace

int main(int argc, char** argv) {
    divination::SeedCoinGenerator(divination::ClockSeed());

    QApplication app(argc, argv);
    QApplication::setApplicationName(forms::kApplicationTitle);
    // The menu entry's name, so that docks and task bars match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral(TAYNOVID_APP_ID));
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/app_%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    LoadRussianTranslations(app);
    forms::InstallFontSubstitutes();

    TForm1 form1;
    TForm2 form2(forms::ShowErrorBox);
    TForm3 form3;
    TForm4 form4;
    form1.setCompanions(&form2, &form3, &form4);

    form1.show();
    return app.exec();
}
