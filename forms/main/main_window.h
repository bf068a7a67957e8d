// TForm1, the main window. Its code is split by concern:
//   main_window.cpp          the controls, the popup on right clicks, start and close
//   main_window_menus.cpp    both menus and the keys as tables, the items' handlers
//   main_window_casting.cpp  the casting handlers and the window side of a cast
//   main_window_modes.cpp    casting modes, table-button look, table command, sound switch
//   main_window_table.cpp    the table of hexagrams and the reading area
//   main_window_settings.cpp the settings file, and the font, colours and views
//   main_window_interpretation.cpp  what follows a press: changing lines, «Толкование», one's own
//   throw
#pragma once

#include <QColor>
#include <QFont>
#include <QMainWindow>
#include <QPalette>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "consultation/consultation.h"
#include "divination/cast.h"
#include "forms/dialogs/own_throw_dialog.h"
#include "forms/kit/error_report.h"
#include "forms/main/menu_items.h"
#include "settings/preferences.h"
#include "settings/settings.h"
#include "sound/wave_player.h"

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPixmap;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QToolButton;

namespace forms {
class InterpretationWindow;
class JournalWindow;
class StatisticsWindow;
class JournalSync;
}  // namespace forms

class TForm2;
class TForm3;
class TForm4;

inline const QString kReadingPlaceholder = QStringLiteral("Здесь вы увидите ответ");

class TForm1 : public QMainWindow, private divination::CastView {
    Q_OBJECT

public:
    struct SyncChoice {
        enum Action { Close, SyncNow, Choose, TurnOff } action = Close;
        QString folder;  // Choose
    };
    // What the window asks of the outside world; tests answer these.
    struct Seams {
        forms::ErrorReporter reportError;     // default: the message box
        std::function<void()> showNotice;     // default: Form4, modal
        sound::WavePlayer* player = nullptr;  // default: the audio player
        // The font and colour dialogs: nothing when the user cancels.
        std::function<std::optional<QFont>(const QFont& initial)> chooseFont;
        std::function<std::optional<QColor>(const QColor& initial)> chooseColor;
        // «Свой бросок»: six values, and the stalks' totals where the user
        // gave them; nothing when the user cancels.
        std::function<std::optional<forms::OwnThrow>()> askOwnThrow;
        // «Стебли тысячелистника»: the eighteen held totals, or nothing
        // when the user cancels.
        std::function<std::optional<divination::StalkTotals>()> castYarrow;
        // «Вопрос…»: the text written, or nothing when the user cancels.
        std::function<std::optional<QString>(const QString& current)> askQuestion;
        // «Сохранить как…» and «Печать…»: a file to write (empty: cancelled)
        // and a printer set up (false: cancelled).
        std::function<QString(const QString& caption, const QString& filter)> chooseSaveFile;
        std::function<bool(QPrinter& printer)> choosePrinter;
        // «Синхронизация…»: what the user does with the folder, shown the
        // folder and each other machine's file.
        std::function<SyncChoice(const QString& status)> chooseSync;
        // The scale of the pictures, 1 or 2; 0 takes it from the screen.
        int pictureScale = 0;
    };

    TForm1();
    explicit TForm1(Seams seams);
    ~TForm1() override;

    // The three small windows, created after this one.
    void setCompanions(TForm2* form2, TForm3* form3, TForm4* form4);

    // Menu items by name (N1 … N46); a name that is no item raises an error
    // naming it. Invoking runs the item's handler only while the item is
    // enabled, visible or not; errors travel to the caller.
    QAction* item(const QString& name) const;
    bool isItemEnabled(const QString& name) const;
    bool isItemVisible(const QString& name) const;
    void Invoke(const QString& name);
    // Invoke inside the standard error report: what a click or key runs.
    void InvokeGuarded(const QString& name);
    QMenu* popupMenu() const { return menus_.popup(); }

    // Handlers.
    void FormCreate();
    void FormClose();
    void FormMouseUp(Qt::MouseButton button, const QPoint& clientPos);
    void N4Click();
    void N8Click();
    void N10Click();
    void N11Click();
    void N46Click();
    void SelectMode(int mode);
    void N34Click();
    void N13Click();
    void N16Click();
    void N30Click();
    void N12Click();
    void N17Click();
    void N41Click();
    void N43Click();
    void N44Click();
    void N36Click();
    void N37Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void TableButtonClick(int hexagram);
    void editQuestion();
    void showInterpretation();
    void castOwnThrow();
    void castYarrow();
    void showJournal();
    // «Статистика» of what the journal window shows, or of every entry.
    void showStatistics();
    void printCurrent();
    void saveCurrentAs();

    // What is on the screen, its question and the journal session.
    consultation::Consultation& consultation() { return consultation_; }

    void ShowReading(int hexagram);
    void ShowTable();
    void HideTable();

    const divination::CastState& castState() const { return cast_; }
    settings::Settings& settingsValues() { return settings_; }
    // The hidden state cells of sound and the table-button look.
    QString Edit10 = QStringLiteral("1");
    QString Edit12 = QStringLiteral("1");

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPixmap picture(const QString& name) const;
    void buildControls();
    void buildCastingPanel(QGroupBox* group);
    void buildCoinPanel(QGroupBox* group);
    void buildTable(QGroupBox* group);
    void buildMenus();
    void routeRightClicks();

    void chooseReadingColor(QPalette::ColorRole role, std::int32_t& variable);

    // A user action: the handler inside the standard error report, then
    // what the action left to say (a journal failure, say), after its own.
    void act(const std::function<void()>& handler);
    void deliverReports();

    // A casting press, then what follows it whatever became of it: the
    // changing lines marked, the cast kept, «Толкование» brought up to date.
    // A failure of the press still travels on afterwards.
    void castPress(const std::function<void()>& press);
    void afterCast(bool wasComplete);
    divination::Method castMethod() const;
    // Preferences.txt, read at its first use; a failure is said, and the
    // defaults serve.
    settings::Preferences& preferences();
    void chooseSchool(divination::School school);
    void journalLost();
    // The shared folder, once the journal is open and one is chosen.
    void journalOpened();
    void configureSync();
    void showJournalEntry(const journal::Cast& cast);
    void markChangingGlyphs();
    void refreshInterpretation();

    // CastView: the window side of a cast.
    void hidePrompt() override;
    void showPrompt() override;
    void showCoinFace(int coin, divination::Face face) override;
    void hideCoins() override;
    void appendGlyph(divination::Line value) override;
    void clearGlyphs() override;
    void showTableWhenHidden() override;
    void showNotice() override;
    void displayReading(int hexagram) override;
    void resetReading() override;
    bool soundOn() const override;
    void playWave(const std::string& windowsPath) override;
    void showColumnMarker(int trigram) override;
    void showRowMarker(int trigram) override;
    void hideMarkers() override;

    // Connects a Qt signal to a handler run as a user action.
    template <typename Sender, typename Signal, typename Handler>
    void on(Sender* sender, Signal signal, Handler handler) {
        connect(sender, signal, this, [this, handler](auto&&...) { act(handler); });
    }

    Seams seams_;
    forms::MenuItems menus_;
    std::unique_ptr<sound::WavePlayer> ownPlayer_;
    divination::CastState cast_;
    settings::Settings settings_;
    bool settingsFilled_ = false;  // loaded or defaulted: a save may write them
    bool shownOnce_ = false;
    int pictureScale_ = 1;
    QFont fontDialogFont_;                       // FontDialog1 keeps its font between uses
    QColor colorDialogColor_ = QColor(0, 0, 0);  // ColorDialog1 keeps the last colour chosen

    consultation::Consultation consultation_;
    std::optional<settings::Preferences> preferences_;
    forms::InterpretationWindow* interpretation_ = nullptr;  // made at first use
    forms::JournalWindow* journalWindow_ = nullptr;          // made at first use
    forms::StatisticsWindow* statisticsWindow_ = nullptr;    // made at first use
    forms::JournalSync* sync_ = nullptr;                     // made when the journal opens

    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;

    // Controls, by their names.
    QWidget* client_ = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Image2 = nullptr;
    std::array<QLabel*, 3> headsImages_{};         // Image26, Image28, Image29
    std::array<QLabel*, 3> tailsImages_{};         // Image27, Image30, Image31
    std::array<QLabel*, 8> columnMarkers_{};       // Image18 … Image25
    std::array<QLabel*, 8> rowMarkers_{};          // Image4, Image11 … Image17
    std::array<QToolButton*, 64> tableButtons_{};  // SpeedButton1 … SpeedButton64
    QToolButton* SpeedButton65 = nullptr;
    QToolButton* SpeedButton66 = nullptr;
    QToolButton* SpeedButton67 = nullptr;
    QToolButton* SpeedButton68 = nullptr;
    QToolButton* SpeedButton69 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
};
