// TForm1: its controls, the popup on right clicks, start and close.
#include "forms/main/main_window.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

#include "forms/dialogs/font_chooser.h"
#include "forms/dialogs/own_throw_dialog.h"
#include "forms/dialogs/question_dialog.h"
#include "forms/dialogs/yarrow_window.h"
#include "forms/interpretation/interpretation_window.h"
#include "forms/journal/journal_sync.h"
#include "forms/journal/journal_window.h"
#include "forms/kit/widgets.h"
#include "forms/main/item_names.h"
#include "forms/main/notice_window.h"
#include "sound/audio_wave_player.h"

using namespace forms;

TForm1::TForm1() : TForm1(Seams{}) {}

TForm1::TForm1(Seams seams)
    : seams_(std::move(seams)),
      menus_(this, [this](const std::function<void()>& handler) { act(handler); }),
      consultation_({{},
                     [this] { journalLost(); },
                     [this] {
                         if (journalWindow_)
                             journalWindow_->refresh();
                     },
                     [this] { journalOpened(); }}) {
    setObjectName(QStringLiteral("Form1"));
    if (!seams_.reportError)
        seams_.reportError = ShowErrorBox;
    if (!seams_.showNotice) {
        seams_.showNotice = [this] {
            if (form4_)
                form4_->exec();
        };
    }
    if (!seams_.chooseFont) {
        seams_.chooseFont = [this](const QFont& initial) {
            return forms::FontChooser::Choose(initial, this);
        };
    }
    if (!seams_.chooseColor) {
        seams_.chooseColor = [this](const QColor& initial) -> std::optional<QColor> {
            const QColor chosen = QColorDialog::getColor(initial, this);
            if (!chosen.isValid())
                return std::nullopt;
            return chosen;
        };
    }
    if (!seams_.askQuestion) {
        seams_.askQuestion = [this](const QString& current) {
            return AskQuestion(
                this, current,
                consultation_.questionKept()
                    ? QStringLiteral("Вопрос этого гадания:")
                    : QStringLiteral("Запишите вопрос, с которым вы обращаетесь к книге:"));
        };
    }
    if (!seams_.chooseSaveFile) {
        seams_.chooseSaveFile = [this](const QString& caption, const QString& filter) {
            return ChooseFile(this, caption, filter, true);
        };
    }
    if (!seams_.choosePrinter) {
        seams_.choosePrinter = [this](QPrinter& printer) {
            QPrintDialog dialog(&printer, this);
            return dialog.exec() == QDialog::Accepted;
        };
    }
    if (!seams_.chooseSync) {
        seams_.chooseSync = [this](const QString& status) {
            QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Синхронизация"),
                            QStringLiteral("Журналы разных компьютеров сходятся через общую "
                                           "папку: каждый пишет в неё свой файл и читает "
                                           "чужие.\n\n") +
                                status,
                            QMessageBox::NoButton, this);
            QPushButton* choose =
                box.addButton(QStringLiteral("Выбрать папку…"), QMessageBox::ActionRole);
            QPushButton* now =
                box.addButton(QStringLiteral("Синхронизировать сейчас"), QMessageBox::ActionRole);
            QPushButton* off = box.addButton(QStringLiteral("Отключить"), QMessageBox::ActionRole);
            box.addButton(QStringLiteral("Закрыть"), QMessageBox::RejectRole);
            box.exec();
            SyncChoice choice;
            if (box.clickedButton() == now)
                choice.action = SyncChoice::SyncNow;
            else if (box.clickedButton() == off)
                choice.action = SyncChoice::TurnOff;
            else if (box.clickedButton() == choose)
                choice = {SyncChoice::Choose,
                          QFileDialog::getExistingDirectory(
                              this, QStringLiteral("Папка для синхронизации"), DialogFolder())};
            return choice;
        };
    }
    if (!seams_.castYarrow)
        seams_.castYarrow = [this] { return YarrowWindow::Ask(this); };
    if (!seams_.askOwnThrow)
        seams_.askOwnThrow = [this] { return forms::OwnThrowDialog::Ask(this); };
    if (!seams_.player) {
        auto player = std::make_unique<sound::AudioWavePlayer>(this);
        seams_.player = player.get();
        ownPlayer_ = std::move(player);
    }

    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(PixelFont(kSansSerif, 11));
    pictureScale_ = seams_.pictureScale ? seams_.pictureScale : ScreenPictureScale(this);

    buildControls();
    buildMenus();
    routeRightClicks();

    act([this] { FormCreate(); });
}

// The windows that use the journal go before it does.
TForm1::~TForm1() {
    delete journalWindow_;
    delete interpretation_;
}

void TForm1::setCompanions(TForm2* form2, TForm3* form3, TForm4* form4) {
    form2_ = form2;
    form3_ = form3;
    form4_ = form4;
}

QPixmap TForm1::picture(const QString& name) const {
    return Picture(name, pictureScale_);
}

void TForm1::buildControls() {
    // The client area: fixed, so the window is as large as it plus the menu.
    client_ = Named(new QWidget(this), "ClientArea");
    client_->setFixedSize(668, 532);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    GroupBox2 = Named(new QGroupBox(QStringLiteral("ТАБЛИЦА ГЕКСАГРАММ"), client_), "GroupBox2");
    GroupBox2->setGeometry(172, 186, 492, 342);
    SetCaptionColor(GroupBox2, colors::kBlue);
    buildTable(GroupBox2);

    Memo1 = Named(new QPlainTextEdit(client_), "Memo1");
    Memo1->setGeometry(172, 4, 492, 180);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setFont(PixelFont(kTimes, 15));
    SetBackground(Memo1, colors::kSilver);
    Memo1->viewport()->setCursor(Qt::PointingHandCursor);
    ShowText(Memo1, kReadingPlaceholder);
    SetAccessibleText(Memo1, QStringLiteral("Ответ"),
                      QStringLiteral("Толкование гексаграммы, только для чтения"));

    GroupBox3 = Named(new QGroupBox(client_), "GroupBox3");
    GroupBox3->setGeometry(4, 0, 161, 528);

    SetAccessibleText(
        MakeImage(GroupBox3, "Image6", {4, 9, 153, 189}, picture(QStringLiteral("title.jpg"))),
        QStringLiteral("Древне-китайское гадание"),
        QStringLiteral("Картинка: золотая сидящая фигурка"));

    GroupBox1 =
        Named(new QGroupBox(QStringLiteral("     ВАША ГЕКСАГРАММА     "), GroupBox3), "GroupBox1");
    GroupBox1->setGeometry(0, 200, 161, 259);
    SetCaptionColor(GroupBox1, colors::kBlue);
    buildCastingPanel(GroupBox1);

    Image2 = MakeImage(GroupBox3, "Image2", QRect(1, 458, 159, 70),
                       picture(QStringLiteral("banner.bmp")));
    SetAccessibleText(Image2, QStringLiteral("ТАЙНОВИД"));

    // Group boxes are opaque: in the reduced view the casting panel covers
    // the title picture.
    for (QGroupBox* group : {GroupBox1, GroupBox2, GroupBox3})
        group->setAutoFillBackground(true);
}

void TForm1::buildCastingPanel(QGroupBox* group) {
    struct PictureButton {
        QToolButton** button;
        const char* name;
        QRect geometry;
        const char* picture;
        const char* hint;
        const char* item;
    };
    const PictureButton pictureButtons[] = {
        {&SpeedButton65,
         "SpeedButton65",
         {125, 146, 26, 22},
         "table_show",
         "Показать таблицу",
         kTableItem},
        {&SpeedButton66,
         "SpeedButton66",
         {125, 146, 26, 22},
         "table_hide",
         "Скрыть таблицу",
         kTableItem},
        {&SpeedButton67,
         "SpeedButton67",
         {10, 147, 26, 22},
         "sound_on",
         "Выключить звук",
         kSoundItem},
        {&SpeedButton68,
         "SpeedButton68",
         {10, 147, 26, 22},
         "sound_off",
         "Включить звук",
         kSoundItem},
    };
    for (const PictureButton& entry : pictureButtons) {
        QToolButton* button = MakeSpeedButton(group, entry.name, entry.geometry);
        QIcon icon;
        const QString name = QString::fromLatin1(entry.picture);
        icon.addPixmap(picture(name + ".bmp"), QIcon::Normal);
        icon.addPixmap(picture(name + "_disabled.bmp"), QIcon::Disabled);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        button->setToolTip(QString::fromUtf8(entry.hint));
        SetAccessibleText(button, QString::fromUtf8(entry.hint));
        const QString item = QString::fromLatin1(entry.item);
        connect(button, &QToolButton::clicked, this, [this, item] { InvokeGuarded(item); });
        *entry.button = button;
    }
    SpeedButton65->hide();

    SpeedButton69 = MakeSpeedButton(group, "SpeedButton69", {8, 54, 145, 23});
    SpeedButton69->setText(QStringLiteral("обычный"));
    SpeedButton69->setToolTip(QStringLiteral("Обычный режим гадания"));
    SpeedButton69->setFont(PixelFont(kTimes, 16, true));
    SetTextColor(SpeedButton69, colors::kRed);
    SetAccessibleText(SpeedButton69, QStringLiteral("Режим гадания: обычный"),
                      QStringLiteral("Обычный режим гадания"));
    connect(SpeedButton69, &QToolButton::clicked, this, [this] { InvokeGuarded(kNextModeItem); });

    Button4 = MakeButton(group, "Button4", {8, 80, 65, 25}, QStringLiteral("ОРЁЛ"));
    SetTextColor(Button4, colors::kMaroon);
    Button4->hide();
    Button5 = MakeButton(group, "Button5", {88, 80, 65, 25}, QStringLiteral("РЕШКА"));
    Button5->hide();
    Button6 = MakeButton(group, "Button6", {8, 224, 145, 25}, QStringLiteral("Новая гексаграмма"));
    SetAccessibleText(Button6, Button6->text(),
                      QStringLiteral("Стереть черты и начать новую гексаграмму"));

    ListBox2 = Named(new QListWidget(group), "ListBox2");
    // Wide enough for either glyph with the margins the style draws around an
    // item's text, in the stand-in font, and centred where the list stands.
    ListBox2->setGeometry(39, 116, 81, 95);
    ListBox2->setFont(PixelFont(kSansSerif, 12));
    ListBox2->setUniformItemSizes(true);
    // Were a font wider still, clip the glyph at the edge, never elide it.
    ListBox2->setTextElideMode(Qt::ElideNone);
    ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetBackground(ListBox2, colors::kSilver);
    SetAccessibleText(ListBox2, QStringLiteral("Черты гексаграммы"),
                      QStringLiteral("Первая черта сверху"));

    Button1 =
        MakeButton(group, "Button1", {8, 80, 145, 25}, QStringLiteral("Генератор случайности"));
    Button1->hide();
    Button2 = MakeButton(group, "Button2", {8, 80, 65, 25}, QStringLiteral("ОРЁЛ"));
    Button3 = MakeButton(group, "Button3", {88, 80, 65, 25}, QStringLiteral("РЕШКА"));

    // The casting buttons read as their captions and say which line they cast.
    const QString heads = QStringLiteral("Записать сплошную черту");
    const QString tails = QStringLiteral("Записать прерывистую черту");
    SetAccessibleText(Button1, Button1->text(),
                      QStringLiteral("Бросить три монеты и записать выпавшую черту"));
    for (QPushButton* button : {Button2, Button4})
        SetAccessibleText(button, QStringLiteral("Орёл"), heads);
    for (QPushButton* button : {Button3, Button5})
        SetAccessibleText(button, QStringLiteral("Решка"), tails);

    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Button3, &QPushButton::clicked, [this] { Button3Click(); });
    on(Button4, &QPushButton::clicked, [this] { Button4Click(); });
    on(Button5, &QPushButton::clicked, [this] { Button5Click(); });
    on(Button6, &QPushButton::clicked, [this] { Button6Click(); });
    buildCoinPanel(group);  // made last, so it lies over what is made before
}

// The three coins and, over them until the first press, the prompt.
void TForm1::buildCoinPanel(QGroupBox* group) {
    auto* panel = Named(new QFrame(group), "Panel1");
    panel->setGeometry(2, 16, 157, 37);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    SetBackground(panel, colors::kSilver);
    SetAccessibleText(panel, QStringLiteral("Монеты"));

    // Three coin places, the tails picture created after (over) the heads one.
    const struct {
        const char* heads;
        const char* tails;
        QRect place;
    } coins[] = {
        {"Image26", "Image27", {8, 2, 41, 33}},
        {"Image28", "Image30", {56, 2, 37, 33}},
        {"Image29", "Image31", {100, 2, 41, 33}},
    };
    const QPixmap headsPicture = picture(QStringLiteral("heads.bmp"));
    const QPixmap tailsPicture = picture(QStringLiteral("tails.bmp"));
    for (int i = 0; i < 3; ++i) {
        headsImages_[i] = MakeImage(panel, coins[i].heads, coins[i].place, headsPicture);
        tailsImages_[i] = MakeImage(panel, coins[i].tails, coins[i].place, tailsPicture);
        SetAccessibleText(headsImages_[i], QStringLiteral("Монета %1: орёл").arg(i + 1));
        SetAccessibleText(tailsImages_[i], QStringLiteral("Монета %1: решка").arg(i + 1));
        headsImages_[i]->hide();
        tailsImages_[i]->hide();
    }

    Label3 = Named(new QLabel(QStringLiteral("  интерисующий вас вопрос"), panel), "Label3");
    Label4 = Named(new QLabel(QStringLiteral("    Мысленно сформируйте "), panel), "Label4");
    // The stand-in font is a pixel wider than the panel takes; blanks one
    // pixel narrower keep the words whole and off the panel's frame.
    QFont promptFont = PixelFont(kSansSerif, 12);
    promptFont.setWordSpacing(-1);
    for (QLabel* label : {Label3, Label4}) {
        label->setFont(promptFont);
        SetTextColor(label, colors::kGray);
        label->adjustSize();
    }
    Label3->move(2, 16);
    Label4->move(2, 6);
}

// Right clicks anywhere on the window open the popup menu: controls that
// would keep the click to themselves hand it to the window.
void TForm1::routeRightClicks() {
    client_->installEventFilter(this);
    for (QWidget* widget : client_->findChildren<QWidget*>()) {
        widget->setContextMenuPolicy(Qt::NoContextMenu);
        widget->installEventFilter(this);
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu)
        return true;
    if (event->type() != QEvent::MouseButtonRelease)
        return QMainWindow::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == client_) {
        FormMouseUp(mouse->button(), mouse->position().toPoint());
        return true;
    }
    if (mouse->button() == Qt::RightButton) {
        popupMenu()->popup(mouse->globalPosition().toPoint());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormMouseUp(Qt::MouseButton button, const QPoint& clientPos) {
    if (button == Qt::RightButton)
        popupMenu()->popup(client_->mapToGlobal(clientPos));
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        CenterOnScreen(this);
    }
}

void TForm1::FormCreate() {
    Invoke(kLoadItem);
}

void TForm1::FormClose() {
    Invoke(kSaveItem);
    if (sync_)
        sync_->writeIfChanged();  // the last change reaches the other machines too
}

// A save that fails is reported and the program still closes: refusing to
// close would leave the user no way out while the folder stays unwritable.
void TForm1::closeEvent(QCloseEvent* event) {
    // A note still being typed in the journal window is kept as it closes.
    if (journalWindow_)
        journalWindow_->close();
    act([this] { FormClose(); });
    event->accept();
}

void TForm1::N4Click() {
    close();
}

void TForm1::N8Click() {
    close();
}
