// The question dialog: a few lines of the user's own text.
#include "forms/dialogs/question_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

#include "forms/kit/widgets.h"

namespace forms {

std::optional<QString> AskQuestion(QWidget* parent, const QString& current, const QString& label) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("QuestionDialog"));
    dialog.setWindowTitle(QStringLiteral("Вопрос"));
    auto* text = new QPlainTextEdit(current, &dialog);
    text->setObjectName(QStringLiteral("QuestionText"));
    text->setTabChangesFocus(true);
    SetAccessibleText(text, QStringLiteral("Вопрос"), label);
    auto* caption = new QLabel(label, &dialog);
    caption->setBuddy(text);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("Записать"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        QObject::connect(new QShortcut(key, &dialog), &QShortcut::activated, &dialog,
                         &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(caption);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.resize(460, 220);
    text->moveCursor(QTextCursor::End);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return text->toPlainText().trimmed();
}

}  // namespace forms
