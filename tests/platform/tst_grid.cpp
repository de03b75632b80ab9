#include "common/runtime.h"
#include "platform/grid.h"
#include "testmain.h"

#include <QImage>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <functional>

using tav::Grid;
using GridStep = std::function<void(Grid&)>;
Q_DECLARE_METATYPE(GridStep)

namespace {

void write(Grid& g, int r, int c, const QString& t)
{
    g.setRow(r);
    g.setCol(c);
    g.setText(t);
}

QString read(Grid& g, int r, int c)
{
    g.setRow(r);
    g.setCol(c);
    return g.text();
}

// Every cell, row by row, as the table export writes it.
QString exported(Grid& g)
{
    QString out;
    for (int r = 0; r < g.rows(); ++r) {
        for (int c = 0; c < g.cols(); ++c) {
            if (c > 0)
                out += QLatin1Char('\t');
            out += read(g, r, c);
        }
        out += QLatin1Char('\n');
    }
    return out;
}

// The leftmost dark pixel of a cell as drawn, relative to the cell's left.
int inkLeft(Grid& g, int r, int c)
{
    const QImage img = g.grab().toImage();
    QRect cell = g.table()->visualRect(g.table()->model()->index(r, c));
    cell.translate(g.table()->viewport()->mapTo(&g, QPoint(0, 0)));
    cell.adjust(2, 2, -2, -2);
    for (int x = cell.left(); x <= cell.right(); ++x)
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            if (qGray(img.pixel(x, y)) < 100)
                return x - cell.left();
    return -1;
}

} // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void countsDecideTheCells_data();
    void countsDecideTheCells();
    void textReadsBackAsWritten_data();
    void textReadsBackAsWritten();
    void currentCellFollowsRowAndCol();
    void exportWalksRowsThenColumns();
    void outOfRangeIsRefused_data();
    void outOfRangeIsRefused();
    void alignmentIsKeptPerColumn_data();
    void alignmentIsKeptPerColumn();
    void alignmentIsDrawn();
    void widthsAreInTwips();
    void mouseDownReportsButtonShiftAndPlace_data();
    void mouseDownReportsButtonShiftAndPlace();
    void userCannotEdit();
};

void TestGrid::countsDecideTheCells_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("newRows");
    QTest::addColumn<int>("newCols");
    QTest::newRow("five curves to one") << 22 << 6 << 22 << 2;
    QTest::newRow("fewer rows") << 53 << 6 << 23 << 6;
    QTest::newRow("both smaller") << 300 << 6 << 11 << 3;
    QTest::newRow("header only") << 10 << 3 << 1 << 1;
    QTest::newRow("grown") << 5 << 2 << 40 << 7;
}

// After a shrink the cells beyond are gone for good: growing again shows
// them empty, while the cells inside keep their texts.
void TestGrid::countsDecideTheCells()
{
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(int, newRows);
    QFETCH(int, newCols);
    Grid g;
    g.setRows(rows);
    g.setCols(cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            write(g, r, c, QStringLiteral("%1:%2").arg(r).arg(c));
    g.setRows(newRows);
    g.setCols(newCols);
    QCOMPARE(g.rows(), newRows);
    QCOMPARE(g.cols(), newCols);
    QCOMPARE(g.table()->rowCount(), newRows);
    QCOMPARE(g.table()->columnCount(), newCols);
    QVERIFY(g.row() < newRows && g.col() < newCols);

    g.setRows(qMax(rows, newRows));
    g.setCols(qMax(cols, newCols));
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) {
            const bool kept = r < qMin(rows, newRows) && c < qMin(cols, newCols);
            QCOMPARE(read(g, r, c), kept ? QStringLiteral("%1:%2").arg(r).arg(c) : QString());
        }
}

void TestGrid::textReadsBackAsWritten_data()
{
    QTest::addColumn<GridStep>("writeIt");
    QTest::addColumn<QString>("expected");
    auto text = [](QString t) { return GridStep([t](Grid& g) { g.setText(t); }); };
    auto number = [](double v) { return GridStep([v](Grid& g) { g.setText(v); }); };
    QTest::newRow("leading blank") << text(QStringLiteral(" 0.1")) << QStringLiteral(" 0.1");
    QTest::newRow("grouped") << text(QStringLiteral("1,332")) << QStringLiteral("1,332");
    QTest::newRow("word") << text(QStringLiteral("Refused")) << QStringLiteral("Refused");
    QTest::newRow("emptied") << text(QString()) << QString();
    QTest::newRow("whole number") << number(1000) << QStringLiteral("1000");
    QTest::newRow("fraction") << number(0.0998) << QStringLiteral("0.0998");
    QTest::newRow("negative") << number(-2.5) << QStringLiteral("-2.5");
    QTest::newRow("tiny") << number(0.000001) << QStringLiteral("1E-06");
}

void TestGrid::textReadsBackAsWritten()
{
    QFETCH(GridStep, writeIt);
    QFETCH(QString, expected);
    Grid g;
    g.setRows(3);
    g.setCols(3);
    write(g, 1, 2, QStringLiteral("old"));
    writeIt(g);
    QCOMPARE(g.text(), expected);
    QCOMPARE(read(g, 1, 2), expected);
}

void TestGrid::currentCellFollowsRowAndCol()
{
    Grid g;
    g.setRows(4);
    g.setCols(3);
    g.setCol(2); // column first, then row
    g.setRow(3);
    g.setText(QStringLiteral("a"));
    g.setRow(1);
    QCOMPARE(g.text(), QString()); // the new current cell, not the last written
    g.setText(QStringLiteral("b"));
    g.setCol(0);
    QCOMPARE(g.text(), QString());
    QCOMPARE(read(g, 3, 2), QStringLiteral("a"));
    QCOMPARE(read(g, 1, 2), QStringLiteral("b"));
    QCOMPARE(g.row(), 1);
    QCOMPARE(g.col(), 2);
}

// Row 0 and column 0 are cells like the others: the header row, empty rows
// and empty cells all take their place in the export.
void TestGrid::exportWalksRowsThenColumns()
{
    Grid g;
    g.setRows(4);
    g.setCols(3);
    write(g, 0, 0, QStringLiteral("RDL"));
    write(g, 0, 2, QStringLiteral("CL 95"));
    write(g, 1, 0, QStringLiteral("0.0100"));
    write(g, 1, 1, QStringLiteral("299"));
    write(g, 2, 2, QStringLiteral("7"));
    QCOMPARE(exported(g), QStringLiteral("RDL\t\tCL 95\n0.0100\t299\t\n\t\t7\n\t\t\n"));
    QCOMPARE(g.table()->item(0, 0)->text(), QStringLiteral("RDL"));
}

void TestGrid::outOfRangeIsRefused_data()
{
    QTest::addColumn<GridStep>("step");
    QTest::addColumn<int>("error");
    using tav::ErrInvalidProperty;
    using tav::ErrSubscript;
    QTest::newRow("row -1") << GridStep([](Grid& g) { g.setRow(-1); }) << int(ErrSubscript);
    QTest::newRow("row = rows") << GridStep([](Grid& g) { g.setRow(g.rows()); }) << int(ErrSubscript);
    QTest::newRow("col = cols") << GridStep([](Grid& g) { g.setCol(g.cols()); }) << int(ErrSubscript);
    QTest::newRow("width of col beyond") << GridStep([](Grid& g) { g.setColWidth(g.cols(), 100); })
                                         << int(ErrSubscript);
    QTest::newRow("read width beyond") << GridStep([](Grid& g) { (void)g.colWidth(-1); }) << int(ErrSubscript);
    QTest::newRow("alignment of col beyond") << GridStep([](Grid& g) { g.setColAlignment(g.cols(), 2); })
                                             << int(ErrSubscript);
    QTest::newRow("fixed alignment beyond") << GridStep([](Grid& g) { g.setFixedAlignment(5, 2); })
                                            << int(ErrSubscript);
    QTest::newRow("alignment 3") << GridStep([](Grid& g) { g.setColAlignment(1, 3); }) << int(ErrInvalidProperty);
    QTest::newRow("negative rows") << GridStep([](Grid& g) { g.setRows(-4); }) << int(ErrInvalidProperty);
    QTest::newRow("rows below fixed") << GridStep([](Grid& g) { g.setRows(0); }) << int(ErrInvalidProperty);
    QTest::newRow("huge rows") << GridStep([](Grid& g) { g.setRows(2'000'000'000); }) << int(ErrInvalidProperty);
    QTest::newRow("fixed beyond rows") << GridStep([](Grid& g) { g.setFixedRows(g.rows() + 1); })
                                       << int(ErrInvalidProperty);
    QTest::newRow("negative width") << GridStep([](Grid& g) { g.setColWidth(1, -15); }) << int(ErrInvalidProperty);
}

// A refused write changes nothing.
void TestGrid::outOfRangeIsRefused()
{
    QFETCH(GridStep, step);
    QFETCH(int, error);
    Grid g;
    g.setRows(5);
    g.setCols(4);
    write(g, 2, 3, QStringLiteral("kept"));
    g.setColWidth(1, 1140);
    try {
        step(g);
        QFAIL("no error raised");
    } catch (const tav::RuntimeError& e) {
        QCOMPARE(e.number(), error);
        QCOMPARE(e.description(), tav::errorDescription(error));
    }
    QCOMPARE(g.rows(), 5);
    QCOMPARE(g.cols(), 4);
    QCOMPARE(g.fixedRows(), 1);
    QCOMPARE(g.row(), 2);
    QCOMPARE(g.col(), 3);
    QCOMPARE(g.text(), QStringLiteral("kept"));
    QCOMPARE(g.colWidth(1), 1140);
    QCOMPARE(g.colAlignment(1), 0);
}

void TestGrid::alignmentIsKeptPerColumn_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("expected");
    // Fixture: FixedAlignment(0) = 2, ColAlignment(1..2) = 2, column 3 untouched.
    QTest::newRow("header column") << 5 << 0 << int(Qt::AlignHCenter);
    QTest::newRow("corner") << 0 << 0 << int(Qt::AlignHCenter);
    QTest::newRow("header of value column") << 0 << 1 << int(Qt::AlignLeft);
    QTest::newRow("written before") << 1 << 1 << int(Qt::AlignHCenter);
    QTest::newRow("written after, grown row") << 7 << 2 << int(Qt::AlignHCenter);
    QTest::newRow("never written") << 3 << 2 << int(Qt::AlignHCenter);
    QTest::newRow("untouched column") << 7 << 3 << int(Qt::AlignLeft);
}

void TestGrid::alignmentIsKeptPerColumn()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, expected);
    Grid g;
    g.setRows(5);
    g.setCols(4);
    g.setFixedAlignment(0, 2);
    write(g, 1, 1, QStringLiteral("before"));
    g.setColAlignment(1, 2);
    g.setColAlignment(2, 2);
    g.setRows(9); // rows added after the alignment was set
    write(g, 7, 2, QStringLiteral("after"));
    QCOMPARE(g.colAlignment(2), 2);
    QCOMPARE(g.fixedAlignment(0), 2);
    QCOMPARE(g.colAlignment(0), 0);
    QCOMPARE(int(g.cellAlignment(row, col) & Qt::AlignHorizontal_Mask), expected);
}

void TestGrid::alignmentIsDrawn()
{
    Grid g;
    g.resize(400, 200);
    g.setRows(3);
    g.setCols(3);
    g.setColWidth(1, 1800);
    g.setColWidth(2, 1800);
    write(g, 1, 1, QStringLiteral("1"));
    g.setColAlignment(2, 2);
    write(g, 1, 2, QStringLiteral("1"));
    const int left = inkLeft(g, 1, 1);
    const int centred = inkLeft(g, 1, 2);
    QVERIFY2(left >= 0 && left < 15, qPrintable(QString::number(left)));
    QVERIFY2(centred > 40, qPrintable(QString::number(centred)));
}

void TestGrid::widthsAreInTwips()
{
    Grid g;
    QCOMPARE(g.colWidth(1), Grid::kDefaultColWidth);
    g.setCols(6);
    g.setColWidth(0, 1140);
    g.setColWidth(5, 2000);
    QCOMPARE(g.colWidth(0), 1140);
    QCOMPARE(g.colWidth(5), 2000);
    QCOMPARE(g.table()->columnWidth(0), 76);
    QCOMPARE(g.table()->columnWidth(5), 133);
    QCOMPARE(g.colWidth(3), Grid::kDefaultColWidth); // a new column
    g.setCols(2);
    g.setCols(6);
    QCOMPARE(g.colWidth(5), Grid::kDefaultColWidth); // dropped with its column
    g.setWidthTwips(1300 + 2000 + 300);
    QCOMPARE(g.width(), 240);
    QCOMPARE(g.widthTwips(), 3600);
}

void TestGrid::mouseDownReportsButtonShiftAndPlace_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shift");
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << 1 << 0;
    QTest::newRow("right with shift") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << 2 << 1;
    QTest::newRow("middle with ctrl+alt") << Qt::MiddleButton
                                          << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier) << 4 << 6;
}

void TestGrid::mouseDownReportsButtonShiftAndPlace()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(int, code);
    QFETCH(int, shift);
    Grid g;
    g.resize(300, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QSignalSpy spy(&g, &Grid::mouseDown);
    QWidget* vp = g.table()->viewport();
    const QPoint at(20, 10);
    QTest::mousePress(vp, button, mods, at);
    QTest::mouseRelease(vp, button, mods, at);
    QCOMPARE(spy.count(), 1);
    const QPoint inGrid = vp->mapTo(&g, at);
    QCOMPARE(spy[0][0].toInt(), code);
    QCOMPARE(spy[0][1].toInt(), shift);
    QCOMPARE(spy[0][2].toInt(), inGrid.x() * 15);
    QCOMPARE(spy[0][3].toInt(), inGrid.y() * 15);
}

void TestGrid::userCannotEdit()
{
    Grid g;
    g.resize(300, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    write(g, 1, 1, QStringLiteral("5"));
    QWidget* vp = g.table()->viewport();
    const QPoint cell = g.table()->visualRect(g.table()->model()->index(1, 1)).center();
    QTest::mouseDClick(vp, Qt::LeftButton, {}, cell);
    QTest::keyClicks(g.table(), QStringLiteral("99"));
    QTest::keyClick(g.table(), Qt::Key_Return);
    QCOMPARE(read(g, 1, 1), QStringLiteral("5"));
    QCOMPARE(g.table()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TAV_TEST_MAIN(TestGrid)
#include "tst_grid.moc"
