// The stalks window: the count drawn as it goes, its sentences, its lines.
#include "forms/dialogs/yarrow_window.h"

#include <QAccessible>
#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "forms/kit/hexagram_figure.h"
#include "forms/kit/widgets.h"

namespace forms {

// The division on show, painted as lines, so it is sharp at any scale: the
// left heap, the right heap, the stalk between the fingers, and each heap's
// remainder set apart in its own colour.
class StalksView : public QWidget {
public:
    explicit StalksView(QWidget* parent) : QWidget(parent) {
        setMinimumSize(420, 150);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    void show(const divination::Division& division) {
        division_ = division;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), palette().base());
        if (!division_.line) {
            painter.setPen(palette().text().color());
            painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                             QStringLiteral("49 стеблей в руке, один отложен в сторону. "
                                            "Нажмите «Разделить»."));
            return;
        }
        const qreal pitch = width() / 60.0;
        const qreal top = height() * 0.14, bottom = height() * 0.86;
        const QColor stalk(120, 92, 40), remainder(190, 60, 40), taken(40, 110, 170);
        auto heap = [&](qreal left, int count, int rest) {
            for (int i = 0; i < count; ++i) {
                const bool apart = i >= count - rest;
                painter.setPen(
                    QPen(apart ? remainder : stalk, pitch * 0.35, Qt::SolidLine, Qt::RoundCap));
                const qreal x = left + (i + (apart ? 0.8 : 0)) * pitch;
                painter.drawLine(QPointF(x, apart ? top + 12 : top), QPointF(x, bottom));
            }
        };
        const int rightHeap = division_.right - division_.taken;
        heap(pitch, division_.left, division_.leftRemainder);
        const qreal middle = (division_.left + 2.5) * pitch;
        painter.setPen(QPen(taken, pitch * 0.45, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(middle, top - 8), QPointF(middle, bottom - 30));
        heap(middle + 1.5 * pitch, rightHeap, division_.rightRemainder);

        painter.setPen(palette().text().color());
        const QString words =
            QStringLiteral("слева %1 (остаток %2)   между пальцами %3   справа %4 (остаток %5)")
                .arg(division_.left)
                .arg(division_.leftRemainder)
                .arg(division_.taken)
                .arg(rightHeap)
                .arg(division_.rightRemainder);
        painter.drawText(QRectF(0, bottom + 6, width(), height() - bottom - 6),
                         Qt::AlignHCenter | Qt::AlignTop, words);
        painter.drawText(QRectF(0, 0, width(), top - 10), Qt::AlignCenter,
                         QStringLiteral("Черта %1, перемена %2: в руке %3, дальше %4")
                             .arg(division_.line)
                             .arg(division_.change)
                             .arg(division_.held)
                             .arg(division_.remaining));
    }

private:
    divination::Division division_;
};

YarrowWindow::YarrowWindow(QWidget* parent, divination::SplitSource splits)
    : QDialog(parent), cast_(splits ? std::move(splits) : divination::YarrowSplits()) {
    setObjectName(QStringLiteral("YarrowWindow"));
    setWindowTitle(QStringLiteral("Стебли тысячелистника"));
    SetAccessibleText(this, QStringLiteral("Стебли тысячелистника"));
    setSizeGripEnabled(true);
    resize(760, 520);

    view_ = Named(new StalksView(this), "YarrowStalks");
    SetAccessibleText(view_, QStringLiteral("Стебли"),
                      QStringLiteral("Рисунок последнего деления"));
    figure_ = Named(new HexagramFigure(this), "YarrowFigure");
    figure_->setMinimumSize(90, 80);
    figure_->setMaximumSize(130, 116);
    SetAccessibleText(figure_, QStringLiteral("Черты, сложенные из стеблей"));
    said_ = Named(new QLabel(this), "YarrowSaid");
    said_->setWordWrap(true);
    said_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    said_->setText(
        QStringLiteral("Из пятидесяти стеблей один отложен; в руке 49. Каждое деление "
                       "— одно нажатие, восемнадцать на шесть черт."));
    log_ = Named(new QListWidget(this), "YarrowLog");
    SetAccessibleText(log_, QStringLiteral("Ход счёта"), QStringLiteral("Все деления по порядку"));
    log_->setWordWrap(true);
    log_->setResizeMode(QListView::Adjust);
    log_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    next_ = Named(new QPushButton(QStringLiteral("&Разделить"), this), "YarrowDivide");
    next_->setDefault(true);
    SetAccessibleText(next_, QStringLiteral("Разделить"), QStringLiteral("Следующее деление"));
    all_ = Named(new QPushButton(QStringLiteral("&Все сразу"), this), "YarrowAll");
    SetAccessibleText(all_, QStringLiteral("Все сразу"), QStringLiteral("Досчитать все деления"));
    done_ = Named(new QPushButton(QStringLiteral("&Готово"), this), "YarrowDone");
    done_->setEnabled(false);
    SetAccessibleText(done_, QStringLiteral("Готово"), QStringLiteral("Показать толкование"));
    auto* cancel = Named(new QPushButton(QStringLiteral("Отмена"), this), "YarrowCancel");
    connect(next_, &QPushButton::clicked, this, [this] { divide(); });
    connect(all_, &QPushButton::clicked, this, [this] { divideAll(); });
    connect(done_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(figure_, 0, Qt::AlignHCenter);
    side->addWidget(log_, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(view_, 3);
    middle->addLayout(side, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(next_);
    buttons->addWidget(all_);
    buttons->addStretch();
    buttons->addWidget(done_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addWidget(said_);
    layout->addLayout(buttons);
    setTabOrder(next_, all_);
    setTabOrder(all_, done_);
    setTabOrder(done_, cancel);
    setTabOrder(cancel, log_);
}

void YarrowWindow::divide() {
    if (!cast_.finished())
        shown(cast_.Next());
}

void YarrowWindow::divideAll() {
    while (!cast_.finished())
        shown(cast_.Next());
}

void YarrowWindow::shown(const divination::Division& division) {
    view_->show(division);
    figure_->setValues(cast_.values());
    const QString sentence = QString::fromStdString(divination::Description(division));
    said_->setText(sentence);
    log_->addItem(sentence);
    log_->scrollToBottom();
    // Said to a screen reader as it comes, not only when the label is read.
    said_->setAccessibleName(sentence);
    QAccessibleEvent event(said_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
    const bool finished = cast_.finished();
    next_->setEnabled(!finished);
    all_->setEnabled(!finished);
    done_->setEnabled(finished);
    if (finished)
        done_->setFocus();
}

std::optional<divination::StalkTotals> YarrowWindow::Ask(QWidget* parent) {
    YarrowWindow window(parent);
    if (window.exec() != QDialog::Accepted || !window.cast().finished())
        return std::nullopt;
    return window.cast().totals();
}

}  // namespace forms
