// Stamped marks: the same pixels as the painter draws, wherever they fall,
// and a cache that keeps only a few of them, apart for each ratio.
#include "platform/sprites.h"
#include "testmain.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using namespace tav;

namespace {

// A premultiplied image of noise, some of it opaque, some clear, the rest
// half-covered: every branch of the blend.
QImage noise(QSize size, quint32 seed)
{
    QRandomGenerator g(seed);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int kind = int(g.bounded(4));
            const int a = kind == 0 ? 0 : kind == 1 ? 255 : int(g.bounded(256));
            img.setPixel(x, y, qPremultiply(qRgba(int(g.bounded(256)), int(g.bounded(256)), int(g.bounded(256)), a)));
        }
    return img;
}

QImage clear(QSize size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

} // namespace

class TestSprites : public QObject {
    Q_OBJECT
private slots:
    void stampIsThePaintersImage_data()
    {
        QTest::addColumn<QImage>("sprite");
        QTest::addColumn<QPointF>("at");
        const QImage ring = sprites::ring(QColor(255, 0, 0), 1.0, 2);
        const QImage thin = sprites::ring(QColor(0, 0, 255), 3.37, 1, 0.25, 0.75);
        const QImage blotch = noise(QSize(9, 7), 5);
        QTest::newRow("ring, whole pixel") << ring << QPointF(10, 12);
        QTest::newRow("ring, just below a half") << ring << QPointF(10.49, 12.49);
        QTest::newRow("ring, a half") << ring << QPointF(10.5, 12.5);
        QTest::newRow("thin ring, off the left and top") << thin << QPointF(-3.5, -2.25);
        QTest::newRow("thin ring, off the right and bottom") << thin << QPointF(36.6, 26.2);
        QTest::newRow("noise inside") << blotch << QPointF(4.2, 3.7);
        QTest::newRow("noise on a corner") << blotch << QPointF(-4.5, 25.5);
        QTest::newRow("noise outside") << blotch << QPointF(-20, 5);
    }
    void stampIsThePaintersImage()
    {
        QFETCH(QImage, sprite);
        QFETCH(QPointF, at);
        for (const QImage& under : {noise(QSize(40, 30), 11), clear(QSize(40, 30))}) {
            QImage painted = under.copy();
            {
                QPainter p(&painted);
                p.drawImage(at, sprite);
            }
            QImage stamped = under.copy();
            sprites::stamp(stamped, sprite, at);
            QCOMPARE(stamped, painted);
        }
    }

    // A point on a whole pixel, and a ring whose centre falls on a quarter
    // of a pixel, look as the painter strokes them in place; a ring between
    // quarters is drawn on the nearest one.
    void marksAreThePaintersStrokes_data()
    {
        QTest::addColumn<bool>("isRing");
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<double>("radius");
        QTest::addColumn<int>("width");
        QTest::addColumn<QColor>("color");
        QTest::newRow("point of width 2") << false << QPointF(17, 9) << 0.0 << 2 << QColor(255, 0, 0);
        QTest::newRow("point on the edge") << false << QPointF(0, 29) << 0.0 << 2 << QColor(255, 0, 0);
        QTest::newRow("point of width 1") << false << QPointF(5, 5) << 0.0 << 1 << QColor(0, 0, 255);
        QTest::newRow("ring on a pixel") << true << QPointF(20, 15) << 1.55 << 1 << QColor(0, 0, 255);
        QTest::newRow("ring on quarters") << true << QPointF(20.25, 15.75) << 0.97 << 1 << QColor(255, 0, 0);
        QTest::newRow("ring on halves") << true << QPointF(7.5, 3.5) << 4.0 << 2 << QColor(0, 0, 0);
        QTest::newRow("ring past the edge") << true << QPointF(39.5, 0.25) << 2.5 << 1 << QColor(0, 0, 255);
        QTest::newRow("ring between quarters") << true << QPointF(12.26, 8.49) << 1.2 << 1 << QColor(255, 0, 0);
    }
    void marksAreThePaintersStrokes()
    {
        QFETCH(bool, isRing);
        QFETCH(QPointF, centre);
        QFETCH(double, radius);
        QFETCH(int, width);
        QFETCH(QColor, color);
        for (const QImage& under : {noise(QSize(40, 30), 3), clear(QSize(40, 30))}) {
            QImage stroked = under.copy();
            {
                QPainter p(&stroked);
                p.setRenderHint(QPainter::Antialiasing, isRing);
                p.setPen(QPen(color, width));
                if (isRing)
                    p.drawEllipse(QPointF(std::round(centre.x() * 4) / 4, std::round(centre.y() * 4) / 4), radius, radius);
                else
                    p.drawPoint(centre);
            }
            QImage stamped = under.copy();
            if (isRing) {
                sprites::stampRing(stamped, centre, color, radius, width);
            } else {
                const QImage m = sprites::point(color, width);
                sprites::stamp(stamped, m, centre - QPointF(m.width() / 2, m.height() / 2));
            }
            // The painter's curves round a shade differently from one place
            // to another: a ring may differ by one level at its rim.
            int worst = 0;
            for (int y = 0; y < stamped.height(); ++y)
                for (int x = 0; x < stamped.width(); ++x) {
                    const QRgb a = stamped.pixel(x, y), b = stroked.pixel(x, y);
                    worst = std::max({worst, qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                                      qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b))});
                }
            QVERIFY2(worst <= (isRing ? 1 : 0), qPrintable(QString::number(worst)));
        }
    }

    // A mark or grid asked for at one ratio and then at another, as when a
    // window moves between screens, comes back drawn at the second: its
    // ratio, and its side in that ratio's device pixels. Each row has a
    // colour of its own, so that no other row has made its marks before.
    void marksAreKeptPerRatio_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qreal>("first");
        QTest::addColumn<qreal>("then");
        QTest::addColumn<QColor>("color");
        QTest::newRow("ring, 1 then 2") << "ring" << 1.0 << 2.0 << QColor(40, 90, 170);
        QTest::newRow("ring, 2 then 1") << "ring" << 2.0 << 1.0 << QColor(55, 90, 170);
        QTest::newRow("ring, 1 then 1.25") << "ring" << 1.0 << 1.25 << QColor(70, 90, 170);
        QTest::newRow("ring, 1.5 then 2") << "ring" << 1.5 << 2.0 << QColor(85, 90, 170);
        QTest::newRow("point, 1 then 2") << "point" << 1.0 << 2.0 << QColor(100, 90, 170);
        QTest::newRow("grid, 1 then 2") << "grid" << 1.0 << 2.0 << QColor(115, 90, 170);
        QTest::newRow("grid, 2 then 1") << "grid" << 2.0 << 1.0 << QColor(130, 90, 170);
        QTest::newRow("grid, 1 then 1.5") << "grid" << 1.0 << 1.5 << QColor(145, 90, 170);
        QTest::newRow("lines between pixels, 1 then 2") << "lines" << 1.0 << 2.0 << QColor(160, 90, 170);
        QTest::newRow("lines between pixels, 1.25 then 2") << "lines" << 1.25 << 2.0 << QColor(175, 90, 170);
    }
    void marksAreKeptPerRatio()
    {
        QFETCH(QString, kind);
        QFETCH(qreal, first);
        QFETCH(qreal, then);
        QFETCH(QColor, color);
        const double radius = 4.5;
        const int width = 1;
        const QSize size(40, 30);
        const QList<QLine> grid{QLine(10, 0, 10, 30), QLine(25, 0, 25, 30), QLine(0, 12, 40, 12)};
        const QList<QLineF> between{QLineF(7.5, 0, 7.5, 30), QLineF(0, 20.25, 40, 20.25), QLineF(3, 4, 30, 25)};
        const auto make = [&](qreal ratio) {
            if (kind == QLatin1String("ring"))
                return sprites::ring(color, radius, width, 0.25, 0.5, ratio);
            if (kind == QLatin1String("point"))
                return sprites::point(color, 2, ratio);
            if (kind == QLatin1String("grid"))
                return sprites::lines(size, color, grid, ratio);
            return sprites::lines(size, color, 2, between, ratio);
        };
        // The device sides sprites.h gives.
        const auto side = [&](qreal ratio) {
            if (kind == QLatin1String("ring")) {
                const int s = int(std::ceil(2 * (radius + width) * ratio)) + 2;
                return QSize(s, s);
            }
            if (kind == QLatin1String("point")) {
                const int s = int(std::ceil(2 * 2 * ratio)) + 2;
                return QSize(s, s);
            }
            return QSize(int(std::ceil(size.width() * ratio - 1e-6)), int(std::ceil(size.height() * ratio - 1e-6)));
        };
        const QImage before = make(first);
        QCOMPARE(before.devicePixelRatio(), first);
        QCOMPARE(before.size(), side(first));
        const QImage after = make(then);
        QCOMPARE(after.devicePixelRatio(), then);
        QCOMPARE(after.size(), side(then));
        // And the first is still there for a window that moves back.
        const QImage again = make(first);
        QCOMPARE(again.devicePixelRatio(), first);
        QCOMPARE(again, before);
    }

    // However many kinds of mark are asked for, only a few are kept, and a
    // mark asked for again after it was dropped is drawn the same.
    void fewAreKept()
    {
        const QImage first = sprites::ring(QColor(255, 0, 0), 2.5, 1);
        for (int i = 0; i < 500; ++i)
            sprites::ring(QColor(i % 256, 0, 0), 1 + i / 100.0, 1 + i % 3);
        QVERIFY2(sprites::kept() <= 64, qPrintable(QString::number(sprites::kept())));
        QCOMPARE(sprites::ring(QColor(255, 0, 0), 2.5, 1), first);
    }
};

TAV_TEST_MAIN(TestSprites)
#include "tst_sprites.moc"
