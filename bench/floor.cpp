// The floor every Qt program stands on: a bare Qt 6 Widgets window of the
// main window's size, with a menu bar and a text area, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.menuBar()->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit"));
    window.setCentralWidget(new QPlainTextEdit(QStringLiteral("text")));
    window.setFixedSize(668, 550);
    window.show();
    return app.exec();
}
