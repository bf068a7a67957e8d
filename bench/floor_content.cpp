// The floor with what the main window can't do without: the bare window of
// floor.cpp plus the reading area in its serif, the table picture, the 64
// table buttons in the bold sans, and a label in each other face. None of
// the program's own code: how much of the start-up the window's content
// alone costs, measured against the floor as the program is.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {

QFont Face(const char* family, int pixels, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void AddLabel(QWidget* parent, const QString& text, const QFont& font, int top) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(10, top, 150, 20);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.menuBar()->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit"));
    auto* central = new QWidget;
    window.setCentralWidget(central);

    auto* text = new QPlainTextEdit(QStringLiteral("Здесь вы увидите ответ"), central);
    text->setGeometry(170, 0, 490, 180);
    text->setFont(Face("Liberation Serif", 15));
    auto* table = new QLabel(central);
    table->setGeometry(200, 200, 401, 321);
    table->setPixmap(QPixmap(QStringLiteral(TAYNOVID_TABLE_PICTURE), "BMP"));
    for (int i = 0; i < 64; ++i) {
        auto* button = new QToolButton(central);
        button->setGeometry(230 + (i % 8) * 40, 230 + (i / 8) * 35, 23, 17);
        button->setText(QString::number(i + 1));
        button->setFont(Face("Liberation Sans", 15, true));
    }
    AddLabel(central, QStringLiteral("обычный"), Face("Liberation Serif", 16, true), 300);
    AddLabel(central, QStringLiteral("ВАША ГЕКСАГРАММА"), Face("Liberation Sans", 11), 330);

    window.setFixedSize(668, 550);
    window.show();
    return app.exec();
}
