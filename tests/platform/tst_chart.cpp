#include "common/runtime.h"
#include "platform/chart.h"
#include "testmain.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImageReader>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

using tav::Chart;
using ChartStep = std::function<void(Chart&)>;
Q_DECLARE_METATYPE(ChartStep)

namespace {

// Fills the chart as a graph page's computation does: reset, type, sets,
// the points of each set with their labels, then legends and colours,
// spacing, titles and the draw.
void fill(Chart& c, int type, const QList<QList<double>>& sets, const QStringList& labels, double labelEvery = 1)
{
    c.setDataReset(9);
    c.setGraphType(type);
    c.setNumSets(int(sets.size()));
    for (int s = 1; s <= sets.size(); ++s) {
        c.setThisSet(s);
        c.setNumPoints(int(sets[s - 1].size()));
        for (int p = 1; p <= sets[s - 1].size(); ++p) {
            c.setThisPoint(p);
            c.setLabelText(labels.value(p - 1));
            c.setThisPoint(p);
            c.setGraphData(sets[s - 1][p - 1]);
        }
    }
    const int colours[] = {12, 9, 2, 13, 14};
    for (int s = 1; s <= sets.size(); ++s) {
        c.setThisSet(s);
        c.setLegendText(QStringLiteral("CL %1").arg(s));
        c.setColorData(colours[s - 1]);
    }
    c.setLabelEvery(labelEvery);
    c.setTickEvery(qRound(labelEvery));
    c.setGraphTitle(QStringLiteral("Sample size x RDL: Consignment size = 1000"));
    c.setLeftTitle(QStringLiteral("Sample size"));
    c.setBottomTitle(QStringLiteral("Required detection level"));
    c.setDrawMode(2);
}

QList<double> ramp(int n, double from, double step)
{
    QList<double> v;
    for (int i = 0; i < n; ++i)
        v << from + i * step;
    return v;
}

QStringList numbers(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QString::number(i * 0.001, 'f', 4);
    return l;
}

QList<QLineSeries*> drawn(Chart& c)
{
    QList<QLineSeries*> out;
    for (QAbstractSeries* s : c.chart()->series())
        if (s->isVisible())
            out << qobject_cast<QLineSeries*>(s);
    return out;
}

QList<double> ys(QLineSeries* s)
{
    QList<double> out;
    for (const QPointF& p : s->points())
        out << p.y();
    return out;
}

// Red pixels inside the plot area (the lines of a set coloured 12), or
// inside another part of the chart.
int redInk(Chart& c, const QImage& img, QRectF part = {})
{
    const QRect area = (part.isNull() ? c.chart()->plotArea() : part).toAlignedRect() & img.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor px = img.pixelColor(x, y);
            n += px.red() > 200 && px.green() < 80 && px.blue() < 80;
        }
    return n;
}

QAbstractAxis* yAxis(Chart& c)
{
    for (QAbstractAxis* a : c.chart()->axes(Qt::Vertical))
        if (a->isVisible())
            return a;
    return nullptr;
}

QPair<double, double> yRange(Chart& c)
{
    QAbstractAxis* a = yAxis(c);
    if (auto* l = qobject_cast<QLogValueAxis*>(a))
        return {l->min(), l->max()};
    auto* v = qobject_cast<QValueAxis*>(a);
    return v ? qMakePair(v->min(), v->max()) : qMakePair(0.0, 0.0);
}

// The scene drawn at a device pixel ratio, as a window on such a screen
// shows it.
QImage sceneAt(Chart& c, double ratio)
{
    const QSize size = c.size();
    QImage img(size * ratio, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    c.chart()->scene()->render(&painter, QRectF(QPointF(0, 0), size), QRectF(c.chart()->pos(), size));
    return img;
}

} // namespace

class TestChart : public QObject {
    Q_OBJECT
private slots:
    void setsAreDrawnFromTheModel_data();
    void setsAreDrawnFromTheModel();
    void sceneChangesOnlyWhenDrawn();
    void logarithmicLeavesOutNonPositive_data();
    void logarithmicLeavesOutNonPositive();
    void typeSwitchesOnOneChart();
    void redrawsLeaveNothingBehind();
    void repeatedLabelsAllShow();
    void labelAndTickSpacing_data();
    void labelAndTickSpacing();
    void imageWriting_data();
    void imageWriting();
    void imageWritingFailureIsReported();
    void refusedValues_data();
    void refusedValues();
    void boundsAlwaysDrawable_data();
    void boundsAlwaysDrawable();
    void undrawableBoundsFollowTheData_data();
    void undrawableBoundsFollowTheData();
    void linesLookAsTheSeriesDrawThem_data();
    void linesLookAsTheSeriesDrawThem();
    void pointsFarOffThePlotStayLines();
};

void TestChart::setsAreDrawnFromTheModel_data()
{
    QTest::addColumn<int>("sets");
    QTest::addColumn<int>("points");
    QTest::newRow("one set") << 1 << 21;
    QTest::newRow("five sets") << 5 << 52;
}

void TestChart::setsAreDrawnFromTheModel()
{
    QFETCH(int, sets);
    QFETCH(int, points);
    Chart c;
    c.resize(584, 342);
    c.setYAxisMin(0);
    c.setYAxisMax(1000);
    QList<QList<double>> data;
    for (int s = 0; s < sets; ++s)
        data << ramp(points, 10.0 * s, 3.5 + s);
    fill(c, 6, data, numbers(points), points / 10.0);

    const QList<QLineSeries*> lines = drawn(c);
    QCOMPARE(lines.size(), sets);
    const int colours[] = {12, 9, 2, 13, 14};
    for (int s = 0; s < sets; ++s) {
        QCOMPARE(ys(lines[s]), data[s]);
        QCOMPARE(lines[s]->points().first().x(), 1.0);
        QCOMPARE(lines[s]->points().last().x(), double(points));
        QCOMPARE(lines[s]->pen().color(), tav::chartColor(colours[s]));
        QCOMPARE(lines[s]->name(), QStringLiteral("CL %1").arg(s + 1));
    }
    QCOMPARE(yRange(c), qMakePair(0.0, 1000.0));
    QCOMPARE(c.chart()->title(), c.graphTitle());
    QCOMPARE(c.chart()->axes(Qt::Horizontal).value(0)->titleText(), QStringLiteral("Required detection level"));
    QCOMPARE(yAxis(c)->titleText(), QStringLiteral("Sample size"));

    // Read-backs the pages rely on.
    QCOMPARE(c.numSets(), sets);
    QCOMPARE(c.numPoints(), points);
    QCOMPARE(c.thisSet(), sets);
    QCOMPARE(c.legendText(), QStringLiteral("CL %1").arg(sets));
    QCOMPARE(c.colorData(), colours[sets - 1]);
    c.setThisPoint(3);
    QCOMPARE(c.labelText(), QStringLiteral("0.0030"));
    QCOMPARE(c.graphData(), data[sets - 1][2]);
    QCOMPARE(c.yAxisMax(), 1000.0);
    QCOMPARE(c.labelEvery(), points / 10.0);
    QCOMPARE(c.bottomTitle(), QStringLiteral("Required detection level"));
}

// The model takes the writes; the scene shows the last draw until the next.
void TestChart::sceneChangesOnlyWhenDrawn()
{
    Chart c;
    fill(c, 6, {{1, 2, 3}, {4, 5, 6}}, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    c.setDataReset(9);
    QCOMPARE(c.graphData(), 0.0);
    QCOMPARE(c.legendText(), QString());
    c.setNumSets(1);
    c.setThisPoint(2);
    c.setGraphData(50);
    QCOMPARE(drawn(c).size(), 2);
    QCOMPARE(ys(drawn(c)[1]), (QList<double>{4, 5, 6}));
    c.setDrawMode(2);
    QCOMPARE(drawn(c).size(), 1);
    QCOMPARE(ys(drawn(c)[0]), (QList<double>{0, 50, 0}));
    QCOMPARE(c.xLabels().size(), 3);
    QCOMPARE(c.xLabels()[0].second, QString());
}

void TestChart::logarithmicLeavesOutNonPositive_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<QList<double>>("shown");
    QTest::addColumn<double>("bottom");
    QTest::addColumn<double>("top");
    using L = QList<double>;
    QTest::newRow("zero point") << L{0, 10, 100, 1000} << 1.0 << 10000.0 << L{10, 100, 1000} << 1.0 << 10000.0;
    QTest::newRow("negative point, minimum 0")
        << L{-5, 2, 50, 0.5} << 0.0 << 100.0 << L{2, 50, 0.5} << 0.5 << 100.0;
    QTest::newRow("both bounds non-positive") << L{3, 30, 300} << -1.0 << 0.0 << L{3, 30, 300} << 3.0 << 300.0;
    QTest::newRow("maximum below the data") << L{5, 0, 50} << 0.0 << -3.0 << L{5, 50} << 5.0 << 50.0;
    QTest::newRow("no positive point") << L{0, -1, 0} << 0.0 << 0.0 << L{} << 1.0 << 10.0;
}

void TestChart::logarithmicLeavesOutNonPositive()
{
    QFETCH(QList<double>, values);
    QFETCH(double, yMin);
    QFETCH(double, yMax);
    QFETCH(QList<double>, shown);
    QFETCH(double, bottom);
    QFETCH(double, top);
    // The axis complains only through a warning when it drops a series.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    Chart c;
    c.resize(584, 342);
    c.setYAxisMin(yMin);
    c.setYAxisMax(yMax);
    fill(c, 7, {values}, {});
    QVERIFY(qobject_cast<QLogValueAxis*>(yAxis(c)));
    QCOMPARE(ys(drawn(c)[0]), shown);
    QCOMPARE(yRange(c), qMakePair(bottom, top));
    // The bounds read back as written.
    QCOMPARE(c.yAxisMin(), yMin);
    QCOMPARE(c.yAxisMax(), yMax);
    const QImage img = c.image();
    if (shown.size() >= 2)
        QVERIFY(redInk(c, img) > 20);
}

// A page's two charts, or a chart drawn as lines and then logarithmic: each
// draw shows its own type with its own points.
void TestChart::typeSwitchesOnOneChart()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    Chart c;
    fill(c, 7, {{0, 10, 100}, {-1, 5, 50}}, {});
    QVERIFY(qobject_cast<QLogValueAxis*>(yAxis(c)));
    QCOMPARE(ys(drawn(c)[1]), (QList<double>{5, 50}));
    fill(c, 6, {{-3, 0, 3}}, {});
    QVERIFY(qobject_cast<QValueAxis*>(yAxis(c)));
    QCOMPARE(drawn(c).size(), 1);
    QCOMPARE(ys(drawn(c)[0]), (QList<double>{-3, 0, 3}));
    QCOMPARE(yRange(c), qMakePair(-3.0, 3.0));
    fill(c, 7, {{-3, 0, 3}}, {});
    QCOMPARE(ys(drawn(c)[0]), (QList<double>{3}));
    QCOMPARE(yRange(c), qMakePair(3.0, 30.0));
}

// Several draws in one handler (the image-writing sequence draws three
// times) must not leave earlier drawings in the scene.
void TestChart::redrawsLeaveNothingBehind()
{
    Chart c;
    c.resize(584, 342);
    c.setYAxisMin(0);
    c.setYAxisMax(100);
    fill(c, 6, {{90, 90, 90, 90}}, {});
    (void)c.image();
    const qsizetype items = c.chart()->scene()->items().size();
    for (int i = 0; i < 4; ++i)
        fill(c, 6, {{10, 10, 10, 10}}, {});
    QCOMPARE(c.chart()->scene()->items().size(), items);
    const QImage img = c.image();
    QRectF upper = c.chart()->plotArea();
    upper.setHeight(upper.height() / 2);
    QCOMPARE(redInk(c, img, upper), 0);
    QVERIFY(redInk(c, img) > 20);
}

void TestChart::repeatedLabelsAllShow()
{
    Chart c;
    const QStringList labels{QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("3"), QString(), QString(),
                             QStringLiteral("3")};
    fill(c, 6, {{1, 2, 3, 4, 5, 6}}, labels);
    QList<QPair<int, QString>> expected;
    for (int p = 1; p <= labels.size(); ++p)
        expected.append({p, labels[p - 1]});
    QCOMPARE(c.xLabels(), expected);
}

void TestChart::labelAndTickSpacing_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("labelEvery");
    QTest::addColumn<int>("tickEvery");
    QTest::addColumn<QList<int>>("labels");
    QTest::addColumn<QList<int>>("ticks");
    using L = QList<int>;
    QTest::newRow("2.1 of 21") << 21 << 2.1 << 2 << L{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21}
                               << L{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21};
    QTest::newRow("10.2 of 51") << 51 << 10.2 << 10 << L{1, 11, 21, 31, 41, 51} << L{1, 11, 21, 31, 41, 51};
    QTest::newRow("0.5") << 5 << 0.5 << 0 << L{1, 2, 3, 4, 5} << L{1, 2, 3, 4, 5};
    QTest::newRow("zero") << 4 << 0.0 << 0 << L{1, 2, 3, 4} << L{1, 2, 3, 4};
    QTest::newRow("negative") << 3 << -2.0 << -2 << L{1, 2, 3} << L{1, 2, 3};
    QTest::newRow("beyond the points") << 6 << 50.0 << 50 << L{1} << L{1};
    QTest::newRow("huge") << 6 << 1e300 << 32767 << L{1} << L{1};
    QTest::newRow("labels 5, ticks 2") << 10 << 5.0 << 2 << L{1, 6} << L{1, 3, 5, 6, 7, 9};
}

void TestChart::labelAndTickSpacing()
{
    QFETCH(int, points);
    QFETCH(double, labelEvery);
    QFETCH(int, tickEvery);
    QFETCH(QList<int>, labels);
    QFETCH(QList<int>, ticks);
    Chart c;
    fill(c, 6, {ramp(points, 1, 1)}, numbers(points));
    c.setLabelEvery(labelEvery);
    c.setTickEvery(tickEvery);
    c.setDrawMode(2);
    QList<int> shown;
    for (const auto& l : c.xLabels()) {
        shown << l.first;
        QCOMPARE(l.second, numbers(points)[l.first - 1]);
    }
    QCOMPARE(shown, labels);
    QCOMPARE(c.xTicks(), ticks);
    QCOMPARE(c.labelEvery(), labelEvery);
    QCOMPARE(c.tickEvery(), tickEvery);
}

void TestChart::imageWriting_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("shown");
    QTest::newRow("no extension, shown") << "tmp" << "tmp.bmp" << true;
    QTest::newRow("no extension, hidden") << "tmp" << "tmp.bmp" << false;
    QTest::newRow("with .bmp") << "chart.bmp" << "chart.bmp" << true;
    QTest::newRow("other extension, hidden") << "chart.img" << "chart.img" << false;
}

// The print and save sequence leaves a bitmap of the chart on white at the
// control's size, and the chart as it was.
void TestChart::imageWriting()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QWidget window;
    window.resize(700, 400);
    auto* c = new Chart(&window);
    c->setWidthTwips(8760);
    c->setHeightTwips(5130);
    c->setYAxisMin(0);
    c->setYAxisMax(100);
    fill(*c, 6, {ramp(21, 5, 4), ramp(21, 90, -4)}, numbers(21), 2.1);
    if (shown) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    const QList<double> before = ys(drawn(*c)[0]);
    const auto labelsBefore = c->xLabels();

    c->setBackground(15);
    c->refresh();
    c->setDrawMode(3);
    c->setImageFile(dir.filePath(name));
    c->setDrawMode(6);
    c->setBackground(0);
    c->setDrawMode(2);
    c->refresh();

    const QString path = dir.filePath(written);
    QVERIFY2(QFileInfo::exists(path), qPrintable(path));
    QCOMPARE(QImageReader(path).format(), QByteArray("bmp"));
    const QImage img(path);
    QCOMPARE(img.size(), QSize(584, 342));
    QCOMPARE(img.size(), c->size());
    QCOMPARE(img.pixelColor(2, 2), QColor(Qt::white));
    // Drawn at the control's size, not at the size a hidden view kept.
    const QRectF area = c->chart()->plotArea();
    QVERIFY2(area.right() > img.width() * 0.8 && area.bottom() < img.height() && area.bottom() > img.height() * 0.5,
             qPrintable(QStringLiteral("%1 %2").arg(area.right()).arg(area.bottom())));
    QVERIFY(redInk(*c, img) > 20);
    QVERIFY(redInk(*c, img, c->legendArea()) > 4); // the legend is laid out too
    if (written != name)
        QVERIFY(!QFileInfo::exists(dir.filePath(name)));

    QCOMPARE(c->background(), 0);
    QCOMPARE(c->drawMode(), 2);
    QCOMPARE(c->chart()->backgroundBrush().color(), tav::chartColor(0));
    QCOMPARE(ys(drawn(*c)[0]), before);
    QCOMPARE(c->xLabels(), labelsBefore);
    QCOMPARE(c->isVisible(), shown);
    const QImage again = c->image();
    QCOMPARE(again.pixelColor(2, 2), QColor(Qt::black));
    QVERIFY(redInk(*c, again, c->legendArea()) > 4);
}

void TestChart::imageWritingFailureIsReported()
{
    Chart c;
    fill(c, 6, {{1, 2}}, {});
    for (const QString& name : {QString(), QStringLiteral("/nonexistent-dir/tmp")}) {
        c.setImageFile(name);
        try {
            c.setDrawMode(6);
            QFAIL("no error");
        } catch (const tav::RuntimeError& e) {
            QCOMPARE(e.number(), 75);
        }
    }
}

void TestChart::refusedValues_data()
{
    QTest::addColumn<ChartStep>("step");
    QTest::newRow("no sets") << ChartStep([](Chart& c) { c.setNumSets(0); });
    QTest::newRow("six sets") << ChartStep([](Chart& c) { c.setNumSets(6); });
    QTest::newRow("no points") << ChartStep([](Chart& c) { c.setNumPoints(0); });
    QTest::newRow("negative points") << ChartStep([](Chart& c) { c.setNumPoints(-1); });
    QTest::newRow("set beyond NumSets") << ChartStep([](Chart& c) { c.setThisSet(3); });
    QTest::newRow("point beyond NumPoints") << ChartStep([](Chart& c) { c.setThisPoint(6); });
    QTest::newRow("point 0") << ChartStep([](Chart& c) { c.setThisPoint(0); });
    QTest::newRow("colour 16") << ChartStep([](Chart& c) { c.setColorData(16); });
    QTest::newRow("graph type 1") << ChartStep([](Chart& c) { c.setGraphType(1); });
    QTest::newRow("draw mode 4") << ChartStep([](Chart& c) { c.setDrawMode(4); });
    QTest::newRow("reset 1") << ChartStep([](Chart& c) { c.setDataReset(1); });
    QTest::newRow("infinite data") << ChartStep([](Chart& c) { c.setGraphData(qInf()); });
    QTest::newRow("NaN bound") << ChartStep([](Chart& c) { c.setYAxisMax(qQNaN()); });
    QTest::newRow("background -1") << ChartStep([](Chart& c) { c.setBackground(-1); });
}

// A refused write raises "Invalid property value" and changes nothing.
void TestChart::refusedValues()
{
    QFETCH(ChartStep, step);
    Chart c;
    fill(c, 6, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}, {});
    c.setThisSet(2);
    c.setThisPoint(4);
    try {
        step(c);
        QFAIL("no error");
    } catch (const tav::RuntimeError& e) {
        QCOMPARE(e.number(), int(tav::ErrInvalidProperty));
    }
    QCOMPARE(c.numSets(), 2);
    QCOMPARE(c.numPoints(), 5);
    QCOMPARE(c.thisSet(), 2);
    QCOMPARE(c.thisPoint(), 4);
    QCOMPARE(c.graphData(), 9.0);
    QCOMPARE(c.colorData(), 9);
    QCOMPARE(c.graphType(), 6);
    QCOMPARE(c.background(), 0);
    QCOMPARE(c.yAxisMax(), 0.0);
    QCOMPARE(drawn(c).size(), 2);
}

// Whatever the bound boxes and the data hold, every chart type gets an axis
// it can lay out: finite bounds over a finite span, and on a logarithmic
// axis positive bounds at most kMaxLogDecades apart.
void TestChart::boundsAlwaysDrawable_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<QList<double>>("values");
    const double most = std::numeric_limits<double>::max();
    const QList<QPair<const char*, double>> bounds{{"0", 0.0},         {"5", 5.0},         {"1e308", 1e308},
                                                   {"-1e308", -1e308}, {"1e-310", 1e-310}, {"max", most},
                                                   {"-max", -most}};
    const QList<QPair<const char*, QList<double>>> data{{"ordinary", {1, 10, 100}},
                                                        {"huge", {1e308, most}},
                                                        {"tiny", {1e-310, 1e-300}},
                                                        {"huge both signs", {-1e308, 1e308, -most}},
                                                        {"one value", {1e308}},
                                                        {"nothing positive", {0, -1}},
                                                        {"many decades", {1e-300, 1, 1e300}}};
    for (int type : {6, 7})
        for (const auto& [dataName, values] : data)
            for (const auto& [minName, yMin] : bounds)
                for (const auto& [maxName, yMax] : bounds)
                    QTest::addRow("%d, %s, min %s, max %s", type, dataName, minName, maxName)
                        << type << yMin << yMax << values;
}

void TestChart::boundsAlwaysDrawable()
{
    QFETCH(int, type);
    QFETCH(double, yMin);
    QFETCH(double, yMax);
    QFETCH(QList<double>, values);
    Chart c;
    c.resize(584, 342);
    c.setYAxisMin(yMin);
    c.setYAxisMax(yMax);
    fill(c, type, {values}, {});
    const auto [bottom, top] = yRange(c);
    QVERIFY2(std::isfinite(bottom) && std::isfinite(top) && top > bottom && std::isfinite(top - bottom),
             qPrintable(QStringLiteral("%1 .. %2").arg(bottom).arg(top)));
    if (type == 7) {
        QVERIFY(qobject_cast<QLogValueAxis*>(yAxis(c)));
        QVERIFY(bottom > 0);
        QVERIFY(std::log10(top) - std::log10(bottom) <= Chart::kMaxLogDecades + 1e-9);
    }
    // The layout runs to its end.
    QVERIFY(!c.image().isNull());
}

void TestChart::undrawableBoundsFollowTheData_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("bottom");
    QTest::addColumn<double>("top");
    using L = QList<double>;
    // Ten times the minimum would be past the largest number.
    QTest::newRow("log, min 1e308") << 7 << 1e308 << 0.0 << L{0.5, 3, 20} << 0.5 << 20.0;
    QTest::newRow("log, min 1e308 below max 1e308") << 7 << 1e308 << 1e308 << L{2, 8} << 2.0 << 8.0;
    QTest::newRow("log, 618 decades") << 7 << 1e-310 << 1e308 << L{1, 10, 100} << 1.0 << 100.0;
    QTest::newRow("log, a fitting range stays") << 7 << 1e-20 << 1e5 << L{1, 10} << 1e-20 << 1e5;
    QTest::newRow("log, data over too many decades keeps its top")
        << 7 << 0.0 << 0.0 << L{1e-300, 1e300} << 1e270 << 1e300;
    QTest::newRow("log, one huge value") << 7 << 0.0 << 0.0 << L{1e308} << 1e307 << 1e308;
    QTest::newRow("linear, span past the largest number") << 6 << -1e308 << 1e308 << L{1, 2, 3} << 1.0 << 3.0;
    QTest::newRow("linear, a fitting range stays") << 6 << -1e300 << 1e300 << L{1, 2} << -1e300 << 1e300;
    QTest::newRow("linear, one huge value") << 6 << 0.0 << 0.0 << L{1e308} << 0.0 << 1e308;
    QTest::newRow("linear, one large value") << 6 << 0.0 << 0.0 << L{1e300} << 0.0 << 2e300;
    QTest::newRow("linear, one value") << 6 << 0.0 << 0.0 << L{-4} << -4.0 << -3.0;
}

void TestChart::undrawableBoundsFollowTheData()
{
    QFETCH(int, type);
    QFETCH(double, yMin);
    QFETCH(double, yMax);
    QFETCH(QList<double>, values);
    QFETCH(double, bottom);
    QFETCH(double, top);
    Chart c;
    c.resize(584, 342);
    c.setYAxisMin(yMin);
    c.setYAxisMax(yMax);
    fill(c, type, {values}, {});
    const auto [b, t] = yRange(c);
    QVERIFY2(qFuzzyCompare(b, bottom) || b == bottom, qPrintable(QString::number(b)));
    QVERIFY2(qFuzzyCompare(t, top), qPrintable(QString::number(t)));
    // The bounds read back as written.
    QCOMPARE(c.yAxisMin(), yMin);
    QCOMPARE(c.yAxisMax(), yMax);
}

// The sets' lines are drawn apart from the series, one painter call per
// set: they must look exactly as the series' own segment-by-segment drawing
// would, at every device pixel ratio, clipped to the plot area.
void TestChart::linesLookAsTheSeriesDrawThem_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("yMax");
    QTest::addColumn<QList<QList<double>>>("sets");
    QTest::addColumn<double>("ratio");
    QList<double> zigzag, wide;
    for (int i = 0; i < 400; ++i) {
        zigzag << 50 + (i % 2 ? 30 : -30) * std::sin(i * 0.05);
        wide << (i % 7) * 40.0 - 60;
    }
    const QList<QList<double>> two{zigzag, ramp(400, 5, 0.2)};
    QTest::newRow("two sets, 1x") << 6 << 100.0 << two << 1.0;
    QTest::newRow("two sets, 2x") << 6 << 100.0 << two << 2.0;
    QTest::newRow("two sets, 1.5x") << 6 << 100.0 << two << 1.5;
    QTest::newRow("past the range, 2x") << 6 << 100.0 << QList<QList<double>>{wide, {0, 100, 1e4, -1e4, 100, 0}} << 2.0;
    QTest::newRow("along the edges, 2x") << 6 << 100.0 << QList<QList<double>>{{100, 100, 100}, {0, 0, 0}} << 2.0;
    QTest::newRow("logarithmic, 2x") << 7 << 1000.0 << QList<QList<double>>{ramp(300, 1, 3), {0.5, 5, -1, 500}} << 2.0;
}

void TestChart::linesLookAsTheSeriesDrawThem()
{
    QFETCH(int, type);
    QFETCH(double, yMax);
    QFETCH(QList<QList<double>>, sets);
    QFETCH(double, ratio);
    Chart c;
    c.resize(584, 342);
    c.setYAxisMin(type == 7 ? 1 : 0);
    c.setYAxisMax(yMax);
    fill(c, type, sets, {});
    (void)c.image(); // laid out
    const QImage ours = sceneAt(c, ratio);

    QGraphicsItem* lines = nullptr;
    for (QGraphicsItem* item : c.chart()->childItems())
        if (item->data(0).toString() == QStringLiteral("set lines"))
            lines = item;
    QVERIFY(lines);
    lines->hide();
    for (QLineSeries* s : drawn(c))
        s->setOpacity(1);
    const QImage byTheSeries = sceneAt(c, ratio);

    QCOMPARE(ours.size(), byTheSeries.size());
    QVERIFY(redInk(c, ours.scaled(c.size())) > 20);
    // Positions are worked out along another path, so an edge pixel may
    // differ by a shade; a line moved, missing or unclipped differs by far
    // more.
    int off = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = byTheSeries.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            off += d > 24;
        }
    QCOMPARE(off, 0);
}

// Points at the far end of the number range: the segments to them cross
// the plot as thin lines, never as a plot flooded with ink.
void TestChart::pointsFarOffThePlotStayLines()
{
    Chart c;
    c.resize(584, 342);
    c.setYAxisMin(0);
    c.setYAxisMax(100);
    fill(c, 6, {{0, 100, 1e300, -1e300, 100, 0}}, {});
    (void)c.image();
    const QImage img = sceneAt(c, 2.0).scaled(c.size());
    const QRectF area = c.chart()->plotArea();
    const int ink = redInk(c, img);
    QVERIFY(ink > 200);
    QVERIFY2(ink < area.width() * area.height() / 10, qPrintable(QString::number(ink)));
}

TAV_TEST_MAIN(TestChart)
#include "tst_chart.moc"
