// The «Толкование» window: figure, line texts, second and nuclear hexagrams.
#include "forms/interpretation/interpretation_window.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "divination/line_texts.h"
#include "forms/kit/hexagram_figure.h"
#include "forms/kit/widgets.h"

namespace forms {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString Title(int hexagram) {
    const divination::HexagramName& name = divination::kHexagramNames[hexagram - 1];
    return QStringLiteral("Гексаграмма %1. %2 (%3)")
        .arg(hexagram)
        .arg(Utf8(std::string(name.name)), Utf8(std::string(name.transliteration)));
}

QString Paragraph(const QString& text) {
    return QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace

InterpretationWindow::InterpretationWindow(Seams seams, QWidget* parent)
    : QDialog(parent), seams_(std::move(seams)) {
    setObjectName(QStringLiteral("InterpretationWindow"));
    setWindowTitle(QStringLiteral("Толкование"));
    SetAccessibleText(this, QStringLiteral("Толкование"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setSizeGripEnabled(true);
    resize(620, 560);

    figure_ = Named(new HexagramFigure(this), "InterpretationFigure");
    SetAccessibleText(figure_, QStringLiteral("Фигура гексаграммы"));
    title_ = Named(new QLabel(this), "InterpretationTitle");
    title_->setWordWrap(true);
    title_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    title_->setFont(titleFont);
    nuclear_ = Named(new QLabel(this), "InterpretationNuclear");
    nuclear_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    second_ = new QWidget(this);
    secondFigure_ = Named(new HexagramFigure(second_), "InterpretationSecondFigure");
    secondFigure_->setMinimumSize(70, 62);
    secondFigure_->setMaximumSize(110, 96);
    SetAccessibleText(secondFigure_, QStringLiteral("Фигура второй гексаграммы"));
    secondTitle_ = Named(new QLabel(second_), "InterpretationSecond");
    secondTitle_->setWordWrap(true);
    secondTitle_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    secondReading_ = Named(new QPushButton(QStringLiteral("Показать её толкование"), second_),
                           "InterpretationSecondReading");
    SetAccessibleText(secondReading_, QStringLiteral("Показать толкование второй гексаграммы"),
                      QStringLiteral("В поле ответа главного окна"));
    connect(secondReading_, &QPushButton::clicked, this, Guarded(seams_.reportError, [this] {
                if (shown_.second)
                    seams_.showReading(shown_.second);
            }));

    texts_ = Named(new QTextBrowser(this), "InterpretationTexts");
    texts_->setOpenLinks(false);
    SetAccessibleText(texts_, QStringLiteral("Тексты черт"));

    auto* secondColumn = new QVBoxLayout;
    secondColumn->addWidget(secondTitle_);
    secondColumn->addWidget(secondReading_, 0, Qt::AlignLeft);
    secondColumn->addStretch();
    auto* secondRow = new QHBoxLayout(second_);
    secondRow->setContentsMargins(0, 0, 0, 0);
    secondRow->addWidget(secondFigure_);
    secondRow->addLayout(secondColumn, 1);

    auto* heading = new QVBoxLayout;
    heading->addWidget(title_);
    heading->addWidget(nuclear_);
    heading->addWidget(second_);
    heading->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(figure_);
    top->addLayout(heading, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(texts_, 1);

    setTabOrder(texts_, secondReading_);
    render();
}

void InterpretationWindow::showSubject(const divination::Interpretation& interpretation,
                                       const QString& origin) {
    shown_ = interpretation;
    origin_ = origin;
    render();
}

void InterpretationWindow::setTextFont(const QFont& font) {
    texts_->setFont(font);
}

void InterpretationWindow::showAndRaise() {
    failedHexagram_ = 0;
    show();
    raise();
    activateWindow();
    texts_->setFocus();
}

void InterpretationWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        CenterOnScreen(this);
    }
}

void InterpretationWindow::render() {
    const int hexagram = shown_.hexagram;
    figure_->setValues(shown_.subject.values);
    if (!shown_.complete()) {
        const int cast = shown_.castCount;
        title_->setText(cast ? QStringLiteral("Брошено черт: %1 из 6").arg(cast)
                             : QStringLiteral("Черты ещё не брошены"));
        nuclear_->clear();
        second_->hide();
        texts_->setHtml(Paragraph(
            QStringLiteral("Осталось бросить черт: %1. Когда будут брошены все шесть, здесь "
                           "появятся тексты изменяющихся черт и вторая гексаграмма.")
                .arg(6 - cast)));
        return;
    }

    title_->setText(origin_ + Title(hexagram));
    nuclear_->setText(QStringLiteral("Ядерная гексаграмма: ") +
                      Utf8(divination::NumberAndName(shown_.nuclear)));
    second_->setVisible(shown_.second != 0);
    if (shown_.second) {
        secondFigure_->setValues(divination::RestingValues(shown_.second));
        secondTitle_->setText(QStringLiteral("Вторая гексаграмма: ") +
                              Utf8(divination::NumberAndName(shown_.second)));
    }

    if (shown_.texts.empty()) {
        texts_->setHtml(Paragraph(Utf8(divination::kNoChangingLinesSentence)));
        return;
    }
    QString html = QStringLiteral("<h3>%1</h3>").arg(Utf8(divination::TextsHeading(shown_)));
    divination::LineTexts texts;
    try {
        texts = divination::ParseLineTexts(base::LoadText(divination::LineTextsFilePath(hexagram)));
        failedHexagram_ = 0;
    } catch (const std::exception& e) {
        // Said once for a hexagram, not again at every later press.
        if (failedHexagram_ != hexagram)
            seams_.reportError(QString::fromUtf8(e.what()));
        failedHexagram_ = hexagram;
    }
    const bool allLines = shown_.answer == divination::Answer::AllLines;
    for (int line : shown_.texts) {
        const bool known = line <= static_cast<int>(texts.lines.size());
        const QString heading = known ? Utf8(texts.lines[line - 1].heading)
                                      : Utf8(divination::LineHeading(hexagram, line));
        html += QStringLiteral("<p><b>%1</b>").arg(heading.toHtmlEscaped());
        if (line <= 6 && !allLines)
            html += QStringLiteral(" (черта %1)").arg(line);
        html += QStringLiteral("<br>") +
                (known ? Utf8(texts.lines[line - 1].text).toHtmlEscaped()
                       : QStringLiteral("Текст этой черты не удалось прочитать.")) +
                QStringLiteral("</p>");
    }
    texts_->setHtml(html);
}

}  // namespace forms
