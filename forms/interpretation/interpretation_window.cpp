// The «Толкование» window: figure, line texts, second and nuclear hexagrams.
#include "forms/interpretation/interpretation_window.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTextBrowser>

#include <map>

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
    resize(680, 760);

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

    school_ = Named(new QComboBox(this), "InterpretationSchool");
    for (auto school :
         {divination::School::AllChanging, divination::School::ZhuXi, divination::School::OneLine})
        school_->addItem(Utf8(divination::SchoolName(school)), static_cast<int>(school));
    auto* schoolLabel = new QLabel(QStringLiteral("Как &читать изменяющиеся черты:"), this);
    schoolLabel->setBuddy(school_);
    SetAccessibleText(school_, QStringLiteral("Как читать изменяющиеся черты"));
    connect(school_, &QComboBox::activated, this, Guarded(seams_.reportError, [this] {
                const auto school = static_cast<divination::School>(school_->currentData().toInt());
                if (seams_.chooseSchool)
                    seams_.chooseSchool(school);
            }));
    rule_ = Named(new QLabel(this), "InterpretationRule");
    rule_->setWordWrap(true);
    rule_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    related_ = Named(new QListWidget(this), "InterpretationRelated");
    related_->setIconSize(QSize(48, 44));
    related_->setMaximumHeight(190);
    SetAccessibleText(related_, QStringLiteral("Связанные гексаграммы"),
                      QStringLiteral("Ввод показывает толкование в главном окне"));
    auto* relatedLabel = new QLabel(QStringLiteral("&Связанные гексаграммы:"), this);
    relatedLabel->setBuddy(related_);
    connect(related_, &QListWidget::itemActivated, this,
            Guarded(seams_.reportError, [this] { openRelated(); }));
    relatedReading_ = Named(new QPushButton(QStringLiteral("Показать толкование"), this),
                            "InterpretationRelatedReading");
    SetAccessibleText(relatedReading_,
                      QStringLiteral("Показать толкование выбранной связанной гексаграммы"),
                      QStringLiteral("В поле ответа главного окна"));
    connect(relatedReading_, &QPushButton::clicked, this,
            Guarded(seams_.reportError, [this] { openRelated(); }));

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
    auto* schoolRow = new QHBoxLayout;
    schoolRow->addWidget(schoolLabel);
    schoolRow->addWidget(school_, 1);
    auto* relatedRow = new QHBoxLayout;
    relatedRow->addWidget(related_, 1);
    relatedRow->addWidget(relatedReading_, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(relatedLabel);
    layout->addLayout(relatedRow);
    layout->addLayout(schoolRow);
    layout->addWidget(rule_);
    layout->addWidget(texts_, 1);

    setTabOrder(texts_, school_);
    setTabOrder(school_, related_);
    setTabOrder(related_, relatedReading_);
    setTabOrder(relatedReading_, secondReading_);
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
    saidFailures_.clear();
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
        related_->clear();
        relatedReading_->setEnabled(false);
        rule_->clear();
        texts_->setHtml(Paragraph(
            QStringLiteral("Осталось бросить черт: %1. Когда будут брошены все шесть, здесь "
                           "появятся тексты изменяющихся черт и вторая гексаграмма.")
                .arg(6 - cast)));
        return;
    }

    school_->setCurrentIndex(school_->findData(static_cast<int>(shown_.school)));
    title_->setText(origin_ + Title(hexagram));
    nuclear_->setText(QStringLiteral("Ядерная гексаграмма: ") +
                      Utf8(divination::NumberAndName(shown_.nuclear)));
    second_->setVisible(shown_.second != 0);
    if (shown_.second) {
        secondFigure_->setValues(divination::RestingValues(shown_.second));
        secondTitle_->setText(QStringLiteral("Вторая гексаграмма: ") +
                              Utf8(divination::NumberAndName(shown_.second)));
    }

    showRelated();
    rule_->setText(Utf8(shown_.rule));
    rule_->setVisible(shown_.subject.kind != divination::Subject::Kind::Table);
    texts_->setHtml(TextsHtml());
}

// The texts in the order the interpretation gives; a file that can't be
// read is said once and its texts named as not read.
QString InterpretationWindow::TextsHtml() {
    QString html;
    std::map<int, divination::LineTexts> lineTexts;
    auto linesOf = [&](int hexagram) -> const divination::LineTexts& {
        auto found = lineTexts.find(hexagram);
        if (found == lineTexts.end())
            found = lineTexts
                        .emplace(hexagram, load([&] {
                                     return divination::ParseLineTexts(
                                         base::LoadText(divination::LineTextsFilePath(hexagram)));
                                 }))
                        .first;
        return found->second;
    };
    for (const divination::AnswerBlock& block : divination::AnswerBlocks(shown_)) {
        switch (block.kind) {
            case divination::AnswerBlock::Kind::Heading:
                html += QStringLiteral("<h3>%1</h3>").arg(Utf8(block.text).toHtmlEscaped());
                break;
            case divination::AnswerBlock::Kind::Sentence:
                html += Paragraph(Utf8(block.text));
                break;
            case divination::AnswerBlock::Kind::Line: {
                const divination::LineTexts& texts = linesOf(block.hexagram);
                const bool known = block.line <= static_cast<int>(texts.lines.size());
                const QString heading =
                    known ? Utf8(texts.lines[block.line - 1].heading)
                          : Utf8(divination::LineHeading(block.hexagram, block.line));
                html += QStringLiteral("<p><b>%1</b>").arg(heading.toHtmlEscaped());
                if (block.hexagram != shown_.hexagram)
                    html += QStringLiteral(" (гексаграмма %1)").arg(block.hexagram);
                if (block.numbered)
                    html += QStringLiteral(" (черта %1)").arg(block.line);
                html += QStringLiteral("<br>") +
                        (known ? Utf8(texts.lines[block.line - 1].text).toHtmlEscaped()
                               : QStringLiteral("Текст этой черты не удалось прочитать.")) +
                        QStringLiteral("</p>");
                break;
            }
            case divination::AnswerBlock::Kind::Judgement: {
                const std::string judgement = load([&] {
                    return divination::ReadingSection(
                        base::LoadText(divination::ReadingFilePath(block.hexagram)),
                        divination::kJudgementHeading);
                });
                html +=
                    QStringLiteral("<p><b>%1</b><br>%2</p>")
                        .arg(Utf8(block.text).toHtmlEscaped(),
                             judgement.empty() ? QStringLiteral("Суждение не удалось прочитать.")
                                               : Utf8(judgement).toHtmlEscaped().replace(
                                                     QLatin1Char('\n'), QStringLiteral("<br>")));
                break;
            }
        }
    }
    return html;
}

template <typename Read>
auto InterpretationWindow::load(const Read& read) -> decltype(read()) {
    try {
        auto result = read();
        return result;
    } catch (const std::exception& e) {
        // Said once for a subject, not again at every later press.
        const QString text = QString::fromUtf8(e.what());
        if (!saidFailures_.contains(text))
            seams_.reportError(text);
        saidFailures_.insert(text);
        return {};
    }
}

void InterpretationWindow::showRelated() {
    related_->clear();
    const int size = 48;
    auto add = [&](const QString& text, int hexagram) {
        auto* item = new QListWidgetItem(
            QIcon(
                QPixmap::fromImage(FigureImage(divination::RestingValues(hexagram),
                                               QSize(size, size * 11 / 12), devicePixelRatioF()))),
            text + Utf8(divination::NumberAndName(hexagram)), related_);
        item->setData(Qt::UserRole, hexagram);
    };
    add(QStringLiteral("Противоположная: "), shown_.opposite);
    add(shown_.invertedIsItself ? QStringLiteral("Перевёрнутая (читается так же): ")
                                : QStringLiteral("Перевёрнутая: "),
        shown_.inverted);
    add(QStringLiteral("Ядерная: "), shown_.nuclear);
    for (const divination::Step& step : shown_.steps)
        add(QStringLiteral("Шаг перемены, черта %1: ").arg(step.line), step.hexagram);
    related_->setCurrentRow(0);
    relatedReading_->setEnabled(related_->count() > 0);
}

void InterpretationWindow::openRelated() {
    if (QListWidgetItem* item = related_->currentItem())
        seams_.showReading(item->data(Qt::UserRole).toInt());
}

}  // namespace forms
