// The standard error report: every entry point from Qt runs inside Guarded,
// which catches what the handler raised, hands its text to the reporter and
// returns to the event loop. No exception ever crosses Qt's signal machinery.
#pragma once

#include <QString>

#include <functional>
#include <utility>

namespace forms {

inline const QString kApplicationTitle = QStringLiteral("ТАЙНОВИД");

// Receives the error's own text; the message box adds the full stop.
using ErrorReporter = std::function<void(const QString& text)>;

// The message box: caption "ТАЙНОВИД", error icon, one OK button.
void ShowErrorBox(const QString& text);

// Runs the handler; an error it raises ends it and goes to the reporter.
void RunGuarded(const ErrorReporter& report, const std::function<void()>& handler);

// Runs a user action: the handler inside the report, then what else the
// action has to say.
using ActionRunner = std::function<void(const std::function<void()>& handler)>;

// A slot-ready wrapper: connect(sender, signal, Guarded(report, [..] { … })).
template <typename Handler>
auto Guarded(ErrorReporter report, Handler handler) {
    return [report = std::move(report), handler = std::move(handler)](auto&&...) {
        RunGuarded(report, handler);
    };
}

}  // namespace forms
