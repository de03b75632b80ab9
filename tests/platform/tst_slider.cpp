#include "common/runtime.h"
#include "platform/slider.h"
#include "testmain.h"

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

using tav::Slider;

namespace {

// Records the notices in order, with the value seen by each handler.
struct Log {
    explicit Log(Slider& s)
    {
        QObject::connect(&s, &Slider::changed, &s, [&s, this] { seen << QStringLiteral("change %1").arg(s.value()); });
        QObject::connect(&s, &Slider::scrolled, &s, [&s, this] { seen << QStringLiteral("scroll %1").arg(s.value()); });
        QObject::connect(&s, &Slider::clicked, &s, [&s, this] { seen << QStringLiteral("click %1").arg(s.value()); });
    }
    QString text() const { return seen.join(QStringLiteral(", ")); }
    QStringList seen;
};

void setUp(Slider& s, int min, int max, int value)
{
    s.setMax(max);
    s.setMin(min);
    s.setValue(value);
}

QRect part(QSlider* s, QStyle::SubControl sc)
{
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.orientation = s->orientation();
    opt.minimum = s->minimum();
    opt.maximum = s->maximum();
    opt.sliderPosition = s->sliderPosition();
    opt.sliderValue = s->value();
    opt.tickPosition = s->tickPosition();
    opt.tickInterval = s->tickInterval();
    opt.subControls = QStyle::SC_All;
    return s->style()->subControlRect(QStyle::CC_Slider, &opt, sc, s);
}

QPoint handleCentre(QSlider* s) { return part(s, QStyle::SC_SliderHandle).center(); }

} // namespace

class TestSlider : public QObject {
    Q_OBJECT
private slots:
    void valueOutsideRangeIsRefused_data();
    void valueOutsideRangeIsRefused();
    void boundChangesNotifyWhenTheyMoveTheValue_data();
    void boundChangesNotifyWhenTheyMoveTheValue();
    void boundSetInAChangeHandlerNotifiesWithinIt();
    void keysStepBySmallAndLargeChange_data();
    void keysStepBySmallAndLargeChange();
    void clickOnTrackChangesThenClicks();
    void dragScrollsWithTipThenChangesOnRelease();
    void valueSetWhileDraggingIsAChange();
    void changeHandlerRunsBeforeSetValueReturns();
    void stepsAndTicksReadBack();
};

void TestSlider::valueOutsideRangeIsRefused_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("log");
    // Fixture: 1..29999 at 10000, as the probability sliders.
    QTest::newRow("inside") << 27000 << 27000 << QStringLiteral("change 27000");
    QTest::newRow("minimum") << 1 << 1 << QStringLiteral("change 1");
    QTest::newRow("maximum") << 29999 << 29999 << QStringLiteral("change 29999");
    QTest::newRow("unchanged") << 10000 << 10000 << QString();
    QTest::newRow("below") << 0 << 10000 << QString();
    QTest::newRow("above") << 30000 << 10000 << QString();
    QTest::newRow("far above") << 150000 << 10000 << QString();
}

void TestSlider::valueOutsideRangeIsRefused()
{
    QFETCH(int, set);
    QFETCH(int, expected);
    QFETCH(QString, log);
    Slider s;
    setUp(s, 1, 29999, 10000);
    Log seen(s);
    s.setValue(set);
    QCOMPARE(s.value(), expected);
    QCOMPARE(s.slider()->value(), expected);
    QCOMPARE(seen.text(), log);
}

void TestSlider::boundChangesNotifyWhenTheyMoveTheValue_data()
{
    QTest::addColumn<QString>("bound");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("log");
    // Fixture: 10..5000 at 3000. The handler sees the new range in place.
    QTest::newRow("max below value") << "max" << 90 << 10 << 90 << 90 << "change 90 in 10..90";
    QTest::newRow("max above value") << "max" << 3600 << 10 << 3600 << 3000 << "";
    QTest::newRow("max to value") << "max" << 3000 << 10 << 3000 << 3000 << "";
    QTest::newRow("min above value") << "min" << 4000 << 4000 << 5000 << 4000 << "change 4000 in 4000..5000";
    QTest::newRow("min below value") << "min" << 27 << 27 << 5000 << 3000 << "";
    QTest::newRow("min to value") << "min" << 3000 << 3000 << 5000 << 3000 << "";
    QTest::newRow("max below min") << "max" << 9 << 10 << 10 << 10 << "change 10 in 10..10";
    QTest::newRow("min above max") << "min" << 6000 << 5000 << 5000 << 5000 << "change 5000 in 5000..5000";
}

void TestSlider::boundChangesNotifyWhenTheyMoveTheValue()
{
    QFETCH(QString, bound);
    QFETCH(int, to);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, value);
    QFETCH(QString, log);
    Slider s;
    setUp(s, 10, 5000, 3000);
    QStringList seen;
    connect(&s, &Slider::changed, &s,
            [&] { seen << QStringLiteral("change %1 in %2..%3").arg(s.value()).arg(s.min()).arg(s.max()); });
    connect(&s, &Slider::scrolled, &s, [&] { seen << QStringLiteral("scroll"); });
    if (bound == QLatin1String("max"))
        s.setMax(to);
    else
        s.setMin(to);
    QCOMPARE(s.min(), min);
    QCOMPARE(s.max(), max);
    QCOMPARE(s.value(), value);
    QCOMPARE(seen.join(QStringLiteral(", ")), log);
    // The range that results is the one values are checked against.
    s.setValue(max + 1);
    QCOMPARE(s.value(), value);
}

// A handler that follows one slider's change by moving the other's bound
// (the consignment and sample sizes) sees the other's change before its own
// handler ends.
void TestSlider::boundSetInAChangeHandlerNotifiesWithinIt()
{
    Slider size, sample;
    setUp(size, 10, 10000, 1000);
    setUp(sample, 10, 5000, 900);
    QStringList order;
    connect(&size, &Slider::changed, &size, [&] {
        order << QStringLiteral("size %1").arg(size.value());
        sample.setMax(int(0.9 * size.value()));
        order << QStringLiteral("size done");
    });
    connect(&sample, &Slider::changed, &sample, [&] { order << QStringLiteral("sample %1").arg(sample.value()); });
    size.setValue(100);
    QCOMPARE(order, (QStringList{"size 100", "sample 90", "size done"}));
}

void TestSlider::keysStepBySmallAndLargeChange_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("log");
    // Fixture: 1..9999 at 1000, small change 30, large change 300.
    QTest::newRow("right") << Qt::Key_Right << QStringLiteral("change 1030");
    QTest::newRow("left") << Qt::Key_Left << QStringLiteral("change 970");
    QTest::newRow("page up") << Qt::Key_PageUp << QStringLiteral("change 1300");
    QTest::newRow("page down") << Qt::Key_PageDown << QStringLiteral("change 700");
    QTest::newRow("home") << Qt::Key_Home << QStringLiteral("change 1");
}

void TestSlider::keysStepBySmallAndLargeChange()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, log);
    Slider s;
    setUp(s, 1, 9999, 1000);
    s.setSmallChange(30);
    s.setLargeChange(300);
    Log seen(s);
    QTest::keyClick(s.slider(), key);
    QCOMPARE(seen.text(), log);
}

void TestSlider::clickOnTrackChangesThenClicks()
{
    Slider s;
    s.resize(200, 24);
    setUp(s, 1, 95, 10);
    s.setLargeChange(1);
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    Log seen(s);
    const QPoint onTrack(s.slider()->width() - 10, part(s.slider(), QStyle::SC_SliderGroove).center().y());
    QTest::mouseClick(s.slider(), Qt::LeftButton, {}, onTrack);
    QCOMPARE(seen.text(), QStringLiteral("change 11, click 11"));
}

// While dragging, each move is a scroll notice whose handler writes the tip,
// which is what shows; the change notice comes once, at the release, and the
// click after it.
void TestSlider::dragScrollsWithTipThenChangesOnRelease()
{
    Slider s;
    s.resize(300, 24);
    setUp(s, 1, 29999, 10000);
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    connect(&s, &Slider::scrolled, &s, [&] {
        s.setText(QString::number(s.value() / 30000.0, 'f', 5));
    });
    Log seen(s);
    QSlider* q = s.slider();
    const QPoint from = handleCentre(q);
    QTest::mousePress(q, Qt::LeftButton, {}, from);
    QTest::mouseMove(q, from + QPoint(40, 0));
    const int dragged = s.value();
    QVERIFY(dragged > 10000);
    QCOMPARE(s.shownTip(), QString::number(dragged / 30000.0, 'f', 5));
    QTest::mouseMove(q, from + QPoint(80, 0));
    const int end = s.value();
    QVERIFY(end > dragged);
    QCOMPARE(s.shownTip(), QString::number(end / 30000.0, 'f', 5));
    QCOMPARE(seen.text(), QStringLiteral("scroll %1, scroll %2").arg(dragged).arg(end));
    QTest::mouseRelease(q, Qt::LeftButton, {}, from + QPoint(80, 0));
    QCOMPARE(seen.text(),
             QStringLiteral("scroll %1, scroll %2, change %2, click %2").arg(dragged).arg(end));
    QCOMPARE(s.value(), end);
    QCOMPARE(s.shownTip(), QString());
}

// A scroll handler that refuses the place dragged to (the consignment size
// below the sample size) sets the value: one change, no further scroll.
void TestSlider::valueSetWhileDraggingIsAChange()
{
    Slider s;
    s.resize(300, 24);
    setUp(s, 10, 10000, 5000);
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    const int sample = 4000;
    Log seen(s);
    connect(&s, &Slider::scrolled, &s, [&] {
        if (s.value() < sample + 1)
            s.setValue(sample + 100);
    });
    QSlider* q = s.slider();
    const QPoint from = handleCentre(q);
    QTest::mousePress(q, Qt::LeftButton, {}, from);
    QTest::mouseMove(q, from - QPoint(60, 0));
    QCOMPARE(seen.seen.size(), 2);
    QVERIFY(seen.seen[0].startsWith(QLatin1String("scroll ")));
    QCOMPARE(seen.seen[1], QStringLiteral("change 4100"));
    QCOMPARE(s.value(), 4100);
    QTest::mouseRelease(q, Qt::LeftButton, {}, from - QPoint(60, 0));
}

// Coupled sliders rely on the nesting: the notice's handler has run to its
// end when setValue returns.
void TestSlider::changeHandlerRunsBeforeSetValueReturns()
{
    Slider efficacy, probit;
    setUp(efficacy, 1, 999999, 500000);
    setUp(probit, 1, 95, 50);
    int guard = 0;
    QStringList order;
    connect(&efficacy, &Slider::changed, &efficacy, [&] {
        order << QStringLiteral("efficacy");
        if (guard)
            return;
        guard = 1;
        probit.setValue(63);
        guard = 0;
    });
    connect(&probit, &Slider::changed, &probit, [&] {
        order << QStringLiteral("probit");
        if (guard)
            return;
        guard = 1;
        efficacy.setValue(884930);
        guard = 0;
    });
    efficacy.setValue(900000);
    QCOMPARE(order, (QStringList{QStringLiteral("efficacy"), QStringLiteral("probit")}));
    QCOMPARE(probit.value(), 63);
    QCOMPARE(efficacy.value(), 900000);
}

void TestSlider::stepsAndTicksReadBack()
{
    Slider s;
    s.setSmallChange(100);
    s.setLargeChange(500);
    s.setTickFrequency(50000);
    QCOMPARE(s.smallChange(), 100);
    QCOMPARE(s.largeChange(), 500);
    QCOMPARE(s.tickFrequency(), 50000);
    QCOMPARE(s.slider()->tickInterval(), 50000);
    s.setTickFrequency(0); // a maximum / 10 that rounds to nothing
    QCOMPARE(s.tickFrequency(), 0);
    QCOMPARE(s.slider()->tickPosition(), QSlider::NoTicks);
    for (auto bad : {+[](Slider& x) { x.setSmallChange(-1); }, +[](Slider& x) { x.setLargeChange(-5); },
                     +[](Slider& x) { x.setTickFrequency(-10); }}) {
        try {
            bad(s);
            QFAIL("no error");
        } catch (const tav::RuntimeError& e) {
            QCOMPARE(e.number(), int(tav::ErrInvalidProperty));
        }
    }
    QCOMPARE(s.smallChange(), 100);
    QCOMPARE(s.largeChange(), 500);
}

TAV_TEST_MAIN(TestSlider)
#include "tst_slider.moc"
