// TForm4: the notice that the hexagram is already complete.
#include "forms/main/notice_window.h"

#include <QPushButton>
#include <QTextEdit>

#include "forms/kit/widgets.h"

using namespace forms;

TForm4::TForm4() {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Обратите внимание!!!"));
    SetAccessibleText(this, QStringLiteral("Обратите внимание"),
                      QStringLiteral("Ваша гексаграмма готова"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(386, 102);
    // Its own place on the screen, not centred; later showings keep the
    // place the user left it at.
    move(305, 222);

    // Editable on purpose: what the user types stays for the rest of the run.
    Memo1 = Named(new QTextEdit(this), "Memo1");
    Memo1->setGeometry(0, 0, 385, 73);
    Memo1->setFont(PixelFont(kTimes, 21, true));
    SetTextColor(Memo1, colors::kYellow);
    SetBackground(Memo1, colors::kMaroon);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(QStringLiteral("\nВАША ГЕКСАГРАММА ГОТОВА !!!"));
    CenterLines(Memo1);
    Memo1->moveCursor(QTextCursor::End);
    SetAccessibleText(Memo1, QStringLiteral("Ваша гексаграмма готова"));

    auto* button = MakeButton(this, "Button1", {72, 76, 249, 24}, QStringLiteral("Спасибо"));
    button->setFont(PixelFont(kSansSerif, 13, true));
    connect(button, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(Memo1, button);
    Memo1->setFocus();
}
