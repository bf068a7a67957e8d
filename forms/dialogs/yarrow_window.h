// «Стебли тысячелистника»: the traditional count of the stalks, one division
// at a time at the user's pace, each drawn and said in words, or the rest at
// once; its result is the eighteen held totals of the six lines.
#pragma once

#include <QDialog>

#include <optional>

#include "divination/yarrow.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace forms {

class HexagramFigure;
class StalksView;

class YarrowWindow : public QDialog {
public:
    // `splits` gives the left heap of each division; the program's own
    // generator of the stalks when empty.
    YarrowWindow(QWidget* parent, divination::SplitSource splits = {});

    // The next division, or every one left; what the buttons do.
    void divide();
    void divideAll();
    const divination::YarrowCast& cast() const { return cast_; }

    // Modal; the totals once all eighteen divisions are made and the user
    // accepts them, nothing when cancelled.
    static std::optional<divination::StalkTotals> Ask(QWidget* parent);

private:
    void shown(const divination::Division& division);

    divination::YarrowCast cast_;
    StalksView* view_ = nullptr;
    HexagramFigure* figure_ = nullptr;
    QLabel* said_ = nullptr;
    QListWidget* log_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* all_ = nullptr;
    QPushButton* done_ = nullptr;
};

}  // namespace forms
