// The journal window's «Поиск по строению»: a collapsible panel of the
// conditions on the casts' structure, method, dates and dates to return,
// combined with the words typed into one query.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include "forms/journal/journal_window.h"
#include "forms/kit/widgets.h"

namespace forms {

namespace {

// As the table numbers them: 1 + 4·(line 1 broken) + 2·(line 2) + (line 3).
const char* const kTrigrams[] = {"Цянь — Небо",  "Дуй — Водоём", "Ли — Огонь",  "Чжэнь — Гром",
                                 "Сюнь — Ветер", "Кань — Вода",  "Гэнь — Гора", "Кунь — Земля"};

// In the order of divination::Method.
const char* const kMethods[] = {"Автоматический (монеты)",  "Полуавтоматический",
                                "Обычный (орёл или решка)", "Свой бросок",
                                "Стебли тысячелистника",    "Свой бросок по суммам стеблей"};

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items, const QString& spoken,
                 const QString& description = {}) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->addItems(items);
    SetAccessibleText(combo, spoken, description);
    return combo;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
    auto* label = Named(new QLabel(text, parent), name);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

QDateEdit* RussianDateEdit(QWidget* parent, const char* name, const QString& spoken) {
    auto* edit = Named(new QDateEdit(parent), name);
    edit->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    edit->setDisplayFormat(QStringLiteral("d MMMM yyyy"));
    edit->setCalendarPopup(true);
    SetAccessibleText(edit, spoken);
    return edit;
}

QWidget* JournalWindow::buildStructurePanel() {
    structure_ = Named(new QWidget(this), "JournalStructure");
    auto* grid = new QGridLayout(structure_);
    grid->setContentsMargins(0, 0, 0, 0);
    addStructureRows(grid);
    structure_->hide();

    structureToggle_ = Named(new QToolButton(this), "JournalStructureToggle");
    structureToggle_->setCheckable(true);
    structureToggle_->setAutoRaise(true);
    structureToggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    structureToggle_->setArrowType(Qt::RightArrow);
    structureToggle_->setFocusPolicy(Qt::StrongFocus);
    SetAccessibleText(structureToggle_, QStringLiteral("Поиск по строению"),
                      QStringLiteral("Показать или скрыть условия на строение гаданий"));
    connect(structureToggle_, &QToolButton::toggled, this, [this](bool open) {
        structure_->setVisible(open);
        structureToggle_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    });
    structureChanged();
    return structure_;
}

void JournalWindow::addStructureRows(QGridLayout* grid) {
    place_ = Combo(this, "JournalPlace",
                   {"В гадании", "Во второй", "В ядерной", "В противоположной", "В перевёрнутой",
                    "В любой из них"},
                   QStringLiteral("Где гексаграмма"),
                   QStringLiteral("Где в записи стоит гексаграмма, выбранная выше"));
    QStringList lines{QStringLiteral("Любая или никакой")};
    for (int k = 1; k <= 6; ++k)
        lines << QStringLiteral("%1-я").arg(k);
    line_ = Combo(this, "JournalLine", lines, QStringLiteral("Изменяющаяся черта"),
                  QStringLiteral("Только записи, где меняется эта черта"));
    QStringList trigrams{QStringLiteral("Любая")};
    for (int t = 0; t < 8; ++t)
        trigrams << QStringLiteral("%1. %2").arg(t + 1).arg(QString::fromUtf8(kTrigrams[t]));
    trigram_ = Combo(this, "JournalTrigram", trigrams, QStringLiteral("Триграмма"));
    trigramPlace_ =
        Combo(this, "JournalTrigramPlace",
              {"внизу гадания", "вверху гадания", "внизу второй", "вверху второй"},
              QStringLiteral("Где триграмма"),
              QStringLiteral("Нижняя или верхняя, в гадании или во второй гексаграмме"));
    QStringList methods{QStringLiteral("Любой")};
    for (const char* method : kMethods)
        methods << QString::fromUtf8(method);
    method_ = Combo(this, "JournalMethod", methods, QStringLiteral("Способ гадания"));
    fromOn_ = Named(new QCheckBox(QStringLiteral("&Начиная с"), this), "JournalFromOn");
    SetAccessibleText(fromOn_, QStringLiteral("Начиная с даты"));
    from_ = RussianDateEdit(this, "JournalFrom", QStringLiteral("Первая дата"));
    toOn_ = Named(new QCheckBox(QStringLiteral("&Кончая"), this), "JournalToOn");
    SetAccessibleText(toOn_, QStringLiteral("Кончая датой"));
    to_ = RussianDateEdit(this, "JournalTo", QStringLiteral("Последняя дата"));
    const QDate today = QDate::fromString(this->today(), Qt::ISODate);
    from_->setDate(today.addMonths(-1));
    to_->setDate(today);
    dueOnly_ = Named(new QCheckBox(QStringLiteral("Только к пе&ресмотру"), this), "JournalDueOnly");
    SetAccessibleText(dueOnly_, QStringLiteral("Только к пересмотру"),
                      QStringLiteral("Только записи, к которым пора вернуться"));

    grid->addWidget(Label(this, "JournalPlaceLabel", QStringLiteral("&Место:"), place_), 0, 0);
    grid->addWidget(place_, 0, 1, 1, 2);
    grid->addWidget(Label(this, "JournalLineLabel", QStringLiteral("&Черта:"), line_), 0, 3);
    grid->addWidget(line_, 0, 4);
    grid->addWidget(Label(this, "JournalTrigramLabel", QStringLiteral("&Триграмма:"), trigram_), 1,
                    0);
    grid->addWidget(trigram_, 1, 1);
    grid->addWidget(trigramPlace_, 1, 2);
    grid->addWidget(Label(this, "JournalMethodLabel", QStringLiteral("Сп&особ:"), method_), 1, 3);
    grid->addWidget(method_, 1, 4);
    auto* dates = new QHBoxLayout;
    dates->addWidget(fromOn_);
    dates->addWidget(from_);
    dates->addSpacing(12);
    dates->addWidget(toOn_);
    dates->addWidget(to_);
    dates->addStretch();
    grid->addLayout(dates, 2, 0, 1, 3);
    grid->addWidget(dueOnly_, 2, 3, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(4, 1);

    // A condition runs the search at once; only typing waits for a pause.
    for (QComboBox* combo : {place_, line_, trigram_, trigramPlace_, method_})
        connect(combo, &QComboBox::currentIndexChanged, this,
                Guarded(seams_.reportError, [this] { structureChanged(); }));
    for (QCheckBox* box : {fromOn_, toOn_, dueOnly_})
        connect(box, &QCheckBox::toggled, this,
                Guarded(seams_.reportError, [this] { structureChanged(); }));
    for (QDateEdit* edit : {from_, to_})
        connect(edit, &QDateEdit::dateChanged, this,
                Guarded(seams_.reportError, [this] { structureChanged(); }));
}

void JournalWindow::structureChanged() {
    from_->setEnabled(fromOn_->isChecked());
    to_->setEnabled(toOn_->isChecked());
    trigramPlace_->setEnabled(trigram_->currentIndex() != 0);
    // Collapsed, the panel still says that conditions hold.
    const journal::Query query = currentQuery();
    const int set = (line_->currentIndex() != 0) + (query.trigram != 0) + query.method.has_value() +
                    !query.fromDate.empty() + !query.toDate.empty() + !query.dueBy.empty();
    structureToggle_->setText(set ? QStringLiteral("Поиск по &строению (условий: %1)").arg(set)
                                  : QStringLiteral("Поиск по &строению"));
    applySearch();
}

journal::Query JournalWindow::currentQuery() const {
    journal::Query query;
    query.text = search_->text().toStdString();
    query.hexagram = filter_->currentIndex();
    query.place = static_cast<journal::Place>(place_->currentIndex());
    query.changingLine = line_->currentIndex();
    query.trigram = trigram_->currentIndex();
    query.trigramAbove = trigramPlace_->currentIndex() % 2 == 1;
    query.trigramInSecond = trigramPlace_->currentIndex() >= 2;
    if (method_->currentIndex() > 0)
        query.method = static_cast<divination::Method>(method_->currentIndex() - 1);
    if (fromOn_->isChecked())
        query.fromDate = from_->date().toString(Qt::ISODate).toStdString();
    if (toOn_->isChecked())
        query.toDate = to_->date().toString(Qt::ISODate).toStdString();
    if (dueOnly_->isChecked())
        query.dueBy = today().toStdString();
    return query;
}

QString JournalWindow::today() const {
    return seams_.today ? seams_.today() : QDate::currentDate().toString(Qt::ISODate);
}

}  // namespace forms
