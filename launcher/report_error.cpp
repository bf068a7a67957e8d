// Shows the program's own error box for a start that could not happen:
// started from a menu, a message on a terminal alone would reach nobody.
#include <QApplication>

#include "forms/kit/error_report.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(forms::kApplicationTitle);
    if (argc > 1)
        forms::ShowErrorBox(QString::fromLocal8Bit(argv[1]));
    return 1;
}
