// The table picture behind the hexagram buttons and the sixteen trigram
// markers shown over it, checked pixel by pixel: at 1x, and at 2x where every
// layout pixel is 2 x 2 picture pixels.

#include <QImage>
#include <QTest>

#include <set>
#include <utility>
#include <vector>

#include "resources/pictures.h"

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kLightGrey = qRgb(192, 192, 192);
const QRgb kDarkGrey = qRgb(97, 97, 97);
const QRgb kBrown = qRgb(159, 80, 0);
const QRgb kGreen = qRgb(0, 255, 0);

struct Span {
    int first, last;
};

// Cell interiors: numbers, trigrams, then the eight body columns (rows).
const Span kColumns[10] = {{2, 40},    {43, 80},   {84, 119},  {123, 158}, {162, 198},
                           {202, 237}, {241, 276}, {280, 317}, {321, 357}, {361, 397}};
const Span kRows[10] = {{2, 28},    {32, 60},   {64, 94},   {98, 125},  {129, 158},
                        {162, 189}, {193, 220}, {224, 252}, {256, 284}, {288, 317}};

// The table picture and the marker controls in the table group; a marker
// picture is shown unscaled, centred in its control.
constexpr int kTableLeft = 46, kTableTop = 16;
constexpr int kColumnMarkerLefts[8] = {127, 167, 206, 247, 287, 319, 367, 407};
constexpr int kRowMarkerTops[8] = {80, 112, 144, 176, 208, 240, 272, 304};

using Pixel = std::pair<int, int>;

// The scale of the pictures under test, set by each test row.
int scale = 1;

const QImage& Table() {
    static const QImage tables[2] = {
        resources::LoadPicture("table.bmp", 1).convertToFormat(QImage::Format_RGB32),
        resources::LoadPicture("table.bmp", 2).convertToFormat(QImage::Format_RGB32)};
    return tables[scale - 1];
}

// Layout pixels first..last as picture pixels.
Span Scaled(Span span) {
    return {span.first * scale, (span.last + 1) * scale - 1};
}

// The picture pixels of the layout pixels in the rectangle.
QRect Scaled(const QRect& layout) {
    return QRect(layout.topLeft() * scale, layout.size() * scale);
}

QRect Cell(int column, int row) {
    return Scaled(QRect(QPoint(kColumns[column].first, kRows[row].first),
                        QPoint(kColumns[column].last, kRows[row].last)));
}

QRect TrigramCell(bool column, int k) {
    return column ? Cell(k + 1, 1) : Cell(1, k + 1);
}

std::set<Pixel> PixelsOf(const QImage& image, const QRect& area, QRgb colour) {
    std::set<Pixel> found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour)
                found.insert({x, y});
    return found;
}

std::set<QRgb> ColoursIn(const QRect& area) {
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(Table().pixel(x, y));
    return colours;
}

// Grid lines are what lies outside the cell interiors, from `from` on; in
// picture pixels.
std::vector<int> LinePositions(const Span (&cells)[10], int size, int from) {
    std::vector<int> positions;
    for (int p = from * scale; p < size * scale; ++p) {
        bool inCell = false;
        for (const Span& cell : cells)
            inCell = inCell || (p >= Scaled(cell).first && p <= Scaled(cell).last);
        if (!inCell)
            positions.push_back(p);
    }
    return positions;
}

// Black picture pixels along layout row (or column) `at`, from layout pixel `from`.
std::vector<int> BlackAlong(bool row, int at, int from) {
    std::vector<int> found;
    for (int p = from * scale; p < (row ? Table().width() : Table().height()); ++p)
        if ((row ? Table().pixel(p, at * scale) : Table().pixel(at * scale, p)) == kBlack)
            found.push_back(p);
    return found;
}

std::vector<Span> Runs(const std::vector<int>& sorted) {
    std::vector<Span> runs;
    for (int p : sorted) {
        if (!runs.empty() && runs.back().last + 1 == p)
            runs.back().last = p;
        else
            runs.push_back({p, p});
    }
    return runs;
}

// Reads the brown drawing of a heading cell as broken flags, top bar first:
// three bars 3 pixels high at 9- or 10-pixel steps, 32 pixels long, whole
// or split in the middle by 8 or 9 pixels (layout pixels, each `scale`
// picture pixels). Empty when the drawing is not so.
std::vector<bool> ReadTrigram(const QRect& cell) {
    auto brownAt = [&](int y) {
        std::vector<int> xs;
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (Table().pixel(x, y) == kBrown)
                xs.push_back(x);
        return Runs(xs);
    };
    std::vector<int> rows;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        if (!brownAt(y).empty())
            rows.push_back(y);
    const std::vector<Span> bars = Runs(rows);
    if (bars.size() != 3)
        return {};
    std::vector<bool> broken;
    for (size_t i = 0; i < 3; ++i) {
        const int step = i ? bars[i].first - bars[i - 1].first : 9 * scale;
        const std::vector<Span> pieces = brownAt(bars[i].first);
        bool even = true;  // the same pieces on every picture row of the bar
        for (int y = bars[i].first + 1; y <= bars[i].last; ++y)
            even = even && brownAt(y).size() == pieces.size();
        if (bars[i].last - bars[i].first + 1 != 3 * scale ||
            (step != 9 * scale && step != 10 * scale) || !even ||
            pieces.back().last - pieces.front().first + 1 != 32 * scale || pieces.size() > 2)
            return {};
        if (pieces.size() == 2) {
            const int gap = pieces[1].first - pieces[0].last - 1;
            const int skew =
                (pieces[0].last - pieces[0].first) - (pieces[1].last - pieces[1].first);
            if ((gap != 8 * scale && gap != 9 * scale) || std::abs(skew) > scale)
                return {};
        }
        broken.push_back(pieces.size() == 2);
    }
    return broken;
}

// Test rows at both scales; the test takes its scale with FetchScale().
void AddScales() {
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << 1;
    QTest::newRow("2x") << 2;
}

void FetchScale() {
    QFETCH(int, scale);
    ::scale = scale;
}

// The sixteen trigram headings at both scales as test rows.
void AddHeadings() {
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("column");
    QTest::addColumn<int>("k");
    for (int s : {1, 2}) {
        for (int k = 1; k <= 8; ++k) {
            QTest::addRow("column %d, %dx", k, s) << s << true << k;
            QTest::addRow("row %d, %dx", k, s) << s << false << k;
        }
    }
}

}  // namespace

class TableTest : public QObject {
    Q_OBJECT

private slots:
    void pictureIsOpaqueAndOfItsSize_data() { AddScales(); }

    void pictureIsOpaqueAndOfItsSize() {
        FetchScale();
        const QImage raw = resources::LoadPicture("table.bmp", scale);
        QCOMPARE(raw.size(), QSize(401, 321) * scale);
        QCOMPARE(raw.deviceIndependentSize(), QSizeF(401, 321));
        QVERIFY(!raw.hasAlphaChannel());
    }

    void blackLinesLieExactlyBetweenTheCells_data() { AddScales(); }

    void blackLinesLieExactlyBetweenTheCells() {
        FetchScale();
        for (int y : {65, 200, 317})
            QCOMPARE(BlackAlong(true, y, 0), LinePositions(kColumns, 401, 0));
        for (int x : {85, 250, 397})
            QCOMPARE(BlackAlong(false, x, 0), LinePositions(kRows, 321, 0));
        // Beside the corner cell: the body lines only.
        for (int y : {3, 15, 28, 33, 59})
            QCOMPARE(BlackAlong(true, y, 81), LinePositions(kColumns, 401, 81));
        for (int x : {3, 22, 40, 44, 79})
            QCOMPARE(BlackAlong(false, x, 61), LinePositions(kRows, 321, 61));
    }

    void cornerCellIsGreyWithDiagonalAndCaptions_data() { AddScales(); }

    void cornerCellIsGreyWithDiagonalAndCaptions() {
        FetchScale();
        const QRect corner = Scaled(QRect(QPoint(2, 2), QPoint(80, 60)));
        QCOMPARE(ColoursIn(corner), (std::set<QRgb>{kBlack, kLightGrey}));
        // The heading lines stop at the corner cell.
        QCOMPARE(ColoursIn(Scaled(QRect(QPoint(41, 40), QPoint(42, 60)))),
                 std::set<QRgb>{kLightGrey});
        QCOMPARE(ColoursIn(Scaled(QRect(QPoint(50, 29), QPoint(80, 31)))),
                 std::set<QRgb>{kLightGrey});
        // Diagonal from corner to corner, a pixel either way for rounding.
        const int left = corner.left(), right = corner.right();
        const int rise = corner.bottom() - corner.top(), run = right - left;
        for (int x = left; x <= right; ++x) {
            const int y = corner.top() + ((x - left) * rise + run / 2) / run;
            QVERIFY2(
                !PixelsOf(Table(), QRect(x, std::max(corner.top(), y - 1), 1, 3), kBlack).empty(),
                qPrintable(QString("no diagonal at x %1").arg(x)));
        }
        // "Верх" top right and "Низ" bottom left, clear of the diagonal.
        const int area = scale * scale;
        QVERIFY(PixelsOf(Table(), Scaled(QRect(QPoint(45, 2), QPoint(80, 20))), kBlack).size() >
                size_t(20 * area));
        QVERIFY(PixelsOf(Table(), Scaled(QRect(QPoint(2, 42), QPoint(35, 60))), kBlack).size() >
                size_t(15 * area));
    }

    void numberHeadingsHoldDarkGreyDigits_data() { AddScales(); }

    void numberHeadingsHoldDarkGreyDigits() {
        FetchScale();
        std::vector<std::set<Pixel>> shapes;
        for (int k = 1; k <= 8; ++k) {
            std::set<Pixel> shape[2];
            const QRect cells[2] = {Cell(k + 1, 0), Cell(0, k + 1)};
            for (int i = 0; i < 2; ++i) {
                QCOMPARE(ColoursIn(cells[i]), (std::set<QRgb>{kLightGrey, kDarkGrey}));
                const std::set<Pixel> digit = PixelsOf(Table(), cells[i], kDarkGrey);
                QVERIFY(digit.size() >= size_t(15 * scale * scale));
                int left = 1000, top = 1000;
                for (auto [x, y] : digit) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
                QVERIFY(left > cells[i].left() + 3 * scale && top > cells[i].top() + 3 * scale);
                for (auto [x, y] : digit)
                    shape[i].insert({x - left, y - top});
            }
            // The same digit over column k and beside row k; another for each k.
            QVERIFY(shape[0] == shape[1]);
            for (const auto& other : shapes)
                QVERIFY(other != shape[0]);
            shapes.push_back(shape[0]);
        }
    }

    void bodyCellsArePlainLightGrey_data() { AddScales(); }

    void bodyCellsArePlainLightGrey() {
        FetchScale();
        for (int column = 2; column < 10; ++column)
            for (int row = 2; row < 10; ++row)
                QCOMPARE(ColoursIn(Cell(column, row)), std::set<QRgb>{kLightGrey});
    }

    void trigramHeadingsShowTheirTrigrams_data() { AddHeadings(); }

    void trigramHeadingsShowTheirTrigrams() {
        FetchScale();
        QFETCH(bool, column);
        QFETCH(int, k);
        QCOMPARE(ColoursIn(TrigramCell(column, k)), (std::set<QRgb>{kWhite, kBrown}));
        // k = 1 + 4 (first line broken) + 2 (second) + (third); first on top.
        const int n = k - 1;
        QCOMPARE(ReadTrigram(TrigramCell(column, k)),
                 (std::vector<bool>{(n & 4) != 0, (n & 2) != 0, (n & 1) != 0}));
    }

    void markerTurnsExactlyItsHeadingGreen_data() { AddHeadings(); }

    void markerTurnsExactlyItsHeadingGreen() {
        FetchScale();
        QFETCH(bool, column);
        QFETCH(int, k);
        const QImage raw = resources::LoadPicture(
            QString(column ? "column_marker_%1.bmp" : "row_marker_%1.bmp").arg(k), scale);
        QVERIFY(!raw.hasAlphaChannel());
        // Shown at its size in layout pixels, centred in its control.
        const QSize size = raw.deviceIndependentSize().toSize();
        QCOMPARE(QSizeF(size) * scale, QSizeF(raw.size()));
        QVERIFY(size.width() >= 34 && size.width() <= 38);
        QVERIFY(size.height() >= 22 && size.height() <= 24);
        const QImage marker = raw.convertToFormat(QImage::Format_RGB32);

        const QRect control = column ? QRect(kColumnMarkerLefts[k - 1], 48, k == 6 ? 49 : 41, 33)
                                     : QRect(87, kRowMarkerTops[k - 1], 41, 33);
        const QPoint at =
            QPoint(control.left() + (control.width() - size.width()) / 2 - kTableLeft,
                   control.top() + (control.height() - size.height()) / 2 - kTableTop) *
            scale;
        QImage shown = Table().copy();
        for (int y = 0; y < marker.height(); ++y)
            for (int x = 0; x < marker.width(); ++x)
                shown.setPixel(at.x() + x, at.y() + y, marker.pixel(x, y));

        std::set<Pixel> changed;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != Table().pixel(x, y)) {
                    changed.insert({x, y});
                    QCOMPARE(shown.pixel(x, y), kGreen);
                }
        const std::set<Pixel> bars = PixelsOf(Table(), TrigramCell(column, k), kBrown);
        QVERIFY(!bars.empty());
        QVERIFY(changed == bars);

        // Column markers 4, 5, 7 and 8 carry the grid line right of them.
        int black = 0;
        while (PixelsOf(marker, QRect(marker.width() - 1 - black, 0, 1, marker.height()), kBlack)
                   .size() == size_t(marker.height()))
            ++black;
        const bool reachesLine = column && (k == 4 || k == 5 || k == 7 || k == 8);
        QVERIFY(reachesLine ? black >= scale && black <= 3 * scale && black % scale == 0
                            : black == 0);
    }
};

QTEST_GUILESS_MAIN(TableTest)
#include "test_table_picture.moc"
