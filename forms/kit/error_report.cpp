// The standard error report: the message box and the guard around handlers.
#include "forms/kit/error_report.h"

#include <QMessageBox>

#include <exception>

namespace forms {

void ShowErrorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text + QLatin1Char('.'),
                    QMessageBox::Ok);
    box.exec();
}

void RunGuarded(const ErrorReporter& report, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
}

}  // namespace forms
