// Graphic 12's bound boxes, whatever they hold, give both charts axes they
// can draw: the computation ends and each axis has finite bounds, the
// logarithmic one positive bounds a bounded number of decades apart.

#include "graphs/fgrafico12.h"
#include "platform/chart.h"
#include "testkit.h"
#include "testmain.h"

#include <QAbstractAxis>
#include <QChart>
#include <QLineEdit>
#include <QLogValueAxis>
#include <QTest>
#include <QValueAxis>
#include <cmath>

using namespace tav;

namespace {

QPair<double, double> yRange(Chart* c)
{
    for (QAbstractAxis* a : c->chart()->axes(Qt::Vertical)) {
        if (!a->isVisible())
            continue;
        if (auto* l = qobject_cast<QLogValueAxis*>(a))
            return {l->min(), l->max()};
        if (auto* v = qobject_cast<QValueAxis*>(a))
            return {v->min(), v->max()};
    }
    return {qQNaN(), qQNaN()};
}

} // namespace

class TestGraph12Axes : public QObject {
    Q_OBJECT
private slots:
    void boundBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        for (const char* box : {"Text1_0", "Text1_1", "Text1_2", "Text1_3", "Text3_0", "Text3_1"})
            for (const char* text : {"1e308", "-1e308", "1e-310", "1e-320", "abc", "", "-"})
                QTest::addRow("%s = '%s'", box, text) << QString::fromLatin1(box) << QString::fromLatin1(text);
    }
    void boundBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        test::ProgramFixture fx;
        FGrafico12& page = formRef<FGrafico12>();
        page.show();
        page.ctl<QLineEdit>(box)->setText(text);
        fx.msgs.clear();
        // A range of too many decades would keep the chart's layout busy
        // long: the bound on the decades below is what keeps it short.
        test::click(page.ctl(QStringLiteral("calcula"), 0));
        QVERIFY(fx.msgs.count() <= 1);
        for (Chart* c : {page.graph1(), page.graph2()}) {
            const auto [bottom, top] = yRange(c);
            QVERIFY2(std::isfinite(bottom) && std::isfinite(top) && top > bottom && std::isfinite(top - bottom),
                     qPrintable(QStringLiteral("%1: %2 .. %3").arg(c->objectName()).arg(bottom).arg(top)));
            if (c->graphType() == 7) {
                QVERIFY(bottom > 0);
                QVERIFY(std::log10(top) - std::log10(bottom) <= Chart::kMaxLogDecades + 1e-9);
            }
            QVERIFY(!c->image().isNull());
        }
    }
};

TAV_TEST_MAIN(TestGraph12Axes)
#include "tst_graph12axes.moc"
