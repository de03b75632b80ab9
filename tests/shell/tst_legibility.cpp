// The windows read whole at their design size: every caption, measured with
// the font it is drawn in, fits its control and stands clear of the controls
// beside it; the chart legends show their whole entries; the topic-13
// equation is set in the type it asks for, with a readable exponent; the
// consignment grid is drawn in crisp lines.
#include "common/errors.h"
#include "common/random.h"
#include "common/window.h"
#include "lessons/figures.h"
#include "platform/chart.h"
#include "platform/controls.h"
#include "platform/slider.h"
#include "shell/about.h"
#include "shell/topics.h"
#include "simulation/form4.h"
#include "simulation/form4drawing.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QChart>
#include <QFontInfo>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

using namespace tav;

namespace {

Form& shown(const QString& window)
{
    Form& f = window == QLatin1String("frmAbout") ? static_cast<Form&>(about()) : windowNamed(window);
    f.show();
    return f;
}

// The rectangle a control gives its text, in its own coordinates.
QRect room(QWidget* w)
{
    if (auto* l = qobject_cast<QLabel*>(w)) {
        const int m = l->margin();
        return l->contentsRect().adjusted(m, m, -m, -m);
    }
    auto* e = qobject_cast<QLineEdit*>(w);
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    opt.features = QStyleOptionFrame::None;
    const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e).marginsRemoved(e->textMargins());
    return r.adjusted(2, 0, -2, 0); // the box's own margin on either side of the text
}

// The rectangle its text takes, in its own coordinates.
QRect need(QWidget* w)
{
    const QRect r = room(w);
    if (auto* l = qobject_cast<QLabel*>(w))
        return QFontMetrics(l->font()).boundingRect(r, int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0),
                                                    l->text());
    auto* e = qobject_cast<QLineEdit*>(w);
    const QFontMetrics fm(e->font());
    return QRect(r.left(), r.top() + (r.height() - fm.height()) / 2, fm.horizontalAdvance(e->text()), fm.height());
}

// What a sibling covers of its parent: a label its text, any other control
// its whole rectangle.
QRect covered(QWidget* w)
{
    return qobject_cast<QLabel*>(w) ? need(w).translated(w->pos()) : w->geometry();
}

QString describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Empty when the control's text shows whole, else what is wrong.
QString fault(QWidget* w)
{
    const QRect have = room(w), want = need(w);
    if (!have.contains(want))
        return QStringLiteral("needs %1 in %2").arg(describe(want), describe(have));
    const QRect onParent = want.translated(w->pos());
    if (!w->parentWidget()->rect().adjusted(1, 1, -1, -1).contains(onParent))
        return QStringLiteral("%1 passes the edge of its container").arg(describe(onParent));
    for (QWidget* s : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (s != w && s->isVisibleTo(w->parentWidget()) && covered(s).intersects(onParent))
            return QStringLiteral("%1 runs into %2 at %3")
                .arg(describe(onParent), s->objectName(), describe(covered(s)));
    return QString();
}

// The texts the legend of a chart shows, as drawn; one that falls on the
// plot or outside the chart is marked so.
QStringList shownLegend(Chart* c)
{
    c->image(); // lays the chart out at its size
    QStringList out;
    const QRectF plot = c->chart()->mapRectToScene(c->chart()->plotArea());
    const QRectF whole = c->chart()->sceneBoundingRect();
    for (QGraphicsItem* it : c->chart()->scene()->items()) {
        if (!it->isVisible())
            continue;
        QString text;
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(it))
            text = t->toPlainText();
        else if (auto* t = dynamic_cast<QGraphicsSimpleTextItem*>(it))
            text = t->text();
        if (!text.startsWith(QLatin1String("Consig.=")) && !text.startsWith(QLatin1String("Inspections f")))
            continue;
        const QRectF at = it->sceneBoundingRect();
        out << (plot.intersects(at) || !whole.contains(at) ? text + QStringLiteral(" (hidden)") : text);
    }
    return out;
}

// A paint device that keeps what is drawn on it: the texts with their type,
// and the outlines of the curves.
class Recorder : public QPaintDevice {
public:
    struct Run {
        QString text;
        QFont font;
        QPointF at;
    };
    QList<Run> runs;
    QList<QRectF> curves;

    QPaintEngine* paintEngine() const override { return engine_.get(); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 620;
        case PdmHeight: return 75;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        default: return 0;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(Recorder* r) : QPaintEngine(AllFeatures), r_(r) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& ti) override
        {
            r_->runs.append({ti.text(), ti.font(), p});
        }
        void drawPath(const QPainterPath& path) override { r_->curves.append(path.boundingRect()); }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        Type type() const override { return User; }

    private:
        Recorder* r_;
    };
    std::unique_ptr<Engine> engine_ = std::make_unique<Engine>(this);
};

// A family as the font database names it, without its foundry.
QString familyOf(const QFont& f)
{
    QString family = QFontInfo(f).family();
    const qsizetype foundry = family.indexOf(QLatin1String(" ["));
    return foundry < 0 ? family : family.left(foundry);
}

} // namespace

class TestLegibility : public QObject {
    Q_OBJECT
private slots:
    void captionsShowWhole_data();
    void captionsShowWhole();
    void legendEntriesShowWhole_data();
    void legendEntriesShowWhole();
    void equationIsSetInItsType();
    void consignmentGridLinesAreCrisp();
};

void TestLegibility::captionsShowWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");

    QTest::newRow("About release") << "frmAbout" << "lblVersion" << "Beta release (February 2003)";
    for (int i = 0; i < 4; ++i)
        QTest::newRow(qPrintable(QStringLiteral("Graph 5 scale %1").arg(i)))
            << "FGrafico5" << QStringLiteral("Text1_%1").arg(i) << "AutoScale";
    QTest::newRow("Graph 5 inspections") << "FGrafico5" << "Label2_3" << "Inspect. without failure";
    QTest::newRow("Graph 5 consignment") << "FGrafico5" << "Label2_2" << "Consign. size";
    QTest::newRow("Graph 5 P1") << "FGrafico5" << "Label2_0" << "P1";
    for (int i = 0; i < 2; ++i)
        QTest::newRow(qPrintable(QStringLiteral("Graph 6 scale %1").arg(i)))
            << "FGrafico6" << QStringLiteral("Label4_%1").arg(i) << "AutoScale";
    QTest::newRow("Graph 6 imports") << "FGrafico6" << "Label2_3" << "Importations/ year";
    QTest::newRow("Graph 6 consignment") << "FGrafico6" << "Label2_2" << "Consign. size";
    QTest::newRow("Graph 6 P1") << "FGrafico6" << "Label2_0" << "P1";
    QTest::newRow("Graph 12 time lag max") << "FGrafico12" << "Text1_3" << "1000000";
    QTest::newRow("Graph 12 refusals") << "FGrafico12" << "Label6_0" << "Ref.Consig. (Y)";
    QTest::newRow("Graph 12 refusals min") << "FGrafico12" << "Label6_1" << "Min";
    QTest::newRow("Graph 12 refusals max") << "FGrafico12" << "Label6_2" << "Max";
    // Slider position 3001 stands for 0.100033.
    QTest::newRow("simulation p1") << "FSimula1" << "lp1" << "0.10003";
    QTest::newRow("simulation p2") << "FSimula1" << "lp2" << "0.10003";
}

void TestLegibility::captionsShowWhole()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    test::ProgramFixture fx;
    Form& f = shown(window);
    if (control.startsWith(QLatin1String("lp")))
        f.ctl<Slider>(QStringLiteral("Hscroll") + control.right(1))->setValue(3001);
    QWidget* w = f.ctl(control);
    auto* label = qobject_cast<QLabel*>(w);
    if (!label) // a number, written in the user's locale
        text.replace(QLatin1Char('.'), QLocale().decimalPoint());
    QCOMPARE(label ? label->text() : qobject_cast<QLineEdit*>(w)->text(), text);
    QVERIFY(w->isVisible());
    const QString wrong = fault(w);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestLegibility::legendEntriesShowWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("consignment");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("Graph 4 five sizes") << "FGrafico4" << ""
                                        << QStringList{"Consig.= 100 Units", "Consig.= 500 Units",
                                                       "Consig.= 1000 Units", "Consig.= 2000 Units",
                                                       "Consig.= 5000 Units"};
    QTest::newRow("Graph 4 one size") << "FGrafico4" << "250000" << QStringList{"Consig.= 250000 Units"};
    QTest::newRow("Graph 5") << "FGrafico5" << "" << QStringList{"Inspections failure "};
}

void TestLegibility::legendEntriesShowWhole()
{
    QFETCH(QString, window);
    QFETCH(QString, consignment);
    QFETCH(QStringList, entries);
    test::ProgramFixture fx;
    Form& f = shown(window);
    if (!consignment.isEmpty()) {
        f.ctl<QLineEdit>(QStringLiteral("Text2_2"))->setText(consignment);
        test::click(f.ctl(QStringLiteral("calcula_1")));
    }
    QStringList seen = shownLegend(f.ctl<Chart>(QStringLiteral("Graph1")));
    seen.sort();
    entries.sort();
    QCOMPARE(seen, entries);
}

void TestLegibility::equationIsSetInItsType()
{
    Recorder rec;
    {
        QPainter p(&rec);
        figures::paintProtectionEquation(p);
    }
    QVERIFY(!rec.runs.isEmpty());
    double exponentTop = 1e9, exponentBottom = -1e9, exponentLeft = 1e9, exponentRight = -1e9, exponentPx = 0;
    for (const Recorder::Run& r : rec.runs) {
        QCOMPARE(familyOf(r.font), QStringLiteral("Nimbus Sans Narrow"));
        // The power's own words: the base says "FieldPrev." and "Efficay".
        if (r.text == QLatin1String("FieldPrev") || r.text == QLatin1String("Efficacy")) {
            const QFontMetricsF fm(r.font);
            QVERIFY2(r.font.pixelSize() >= 9, qPrintable(QString::number(r.font.pixelSize())));
            exponentPx = r.font.pixelSize();
            exponentTop = std::min(exponentTop, r.at.y() - fm.capHeight());
            exponentBottom = std::max(exponentBottom, r.at.y());
            exponentLeft = std::min(exponentLeft, r.at.x());
            exponentRight = std::max(exponentRight, r.at.x() + fm.horizontalAdvance(r.text));
        }
    }
    QVERIFY(exponentPx > 0);
    // The parentheses of the power stand tall around it.
    int tall = 0;
    for (const QRectF& c : rec.curves)
        if (c.top() < exponentTop - 1 && c.bottom() > exponentBottom + 1 && c.height() >= 1.5 * exponentPx
            && c.right() > exponentLeft - 60 && c.left() < exponentRight + 60)
            ++tall;
    QCOMPARE(tall, 2);

    // The picture shows the same drawing.
    const QImage drawn = figures::protectionEquation().toImage();
    QImage again(620, 75, QImage::Format_RGB32);
    again.fill(Qt::white);
    {
        QPainter p(&again);
        figures::paintProtectionEquation(p);
    }
    QCOMPARE(drawn.convertToFormat(QImage::Format_RGB32), again);
}

// Every pixel the grid changes is the grid colour, in lines one pixel wide.
void TestLegibility::consignmentGridLinesAreCrisp()
{
    test::ProgramFixture fx;
    Form4& f = formRef<Form4>();
    f.load();
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(QStringLiteral("100"));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 1)->setText(QStringLiteral("0.001")); // no infested unit
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 2)->setText(QStringLiteral("0"));     // and no sample
    ScriptedRandom r;
    setRng(&r);
    IgnoreErrors h;
    QVERIFY(drawConsignment(f, h));
    setRng(nullptr);
    auto* box = f.ctl<PictureBox>(QStringLiteral("Picture1"));
    const QImage drawn = box->image();
    const QImage back = test::pictureBackground(box);
    const QColor grid(200, 200, 200);
    // 12 x 9 cells of 23.3 x 23.4 pixels: lines from 0 on, the last on the edge.
    const auto lines = [&](bool vertical) { return test::linesAcross(drawn, back, grid, vertical); };
    const QList<int> verticals = lines(true), horizontals = lines(false);
    QCOMPARE(verticals.size(), 12);
    QCOMPARE(horizontals.size(), 9);
    for (const QList<int>& l : {verticals, horizontals})
        for (int i = 1; i < l.size(); ++i)
            QVERIFY2(l[i] - l[i - 1] >= 22, qPrintable(QString::number(l[i])));
}

TAV_TEST_MAIN(TestLegibility)
#include "tst_legibility.moc"
