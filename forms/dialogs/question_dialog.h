// «Вопрос»: the question written down before, during or after a cast.
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace forms {

// Modal. The text as written, blanks at its ends trimmed; nothing when the
// user cancels. Ctrl+Return accepts, Tab moves on to the buttons.
std::optional<QString> AskQuestion(QWidget* parent, const QString& current, const QString& label);

}  // namespace forms
