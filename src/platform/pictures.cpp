#include "platform/pictures.h"

#include "platform/controls.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tav::pictures {

namespace {

QPixmap canvas(int w, int h, const QColor& fill = Qt::transparent)
{
    QPixmap p(w, h);
    p.fill(fill);
    return p;
}

QColor grey(const QColor& c, bool greyed)
{
    if (!greyed)
        return c;
    const int g = qGray(c.rgb());
    return QColor(g, g, g);
}

bool g_drawAnew = false;

QPixmap cached(const QString& key, const std::function<QPixmap()>& draw) { return kept(key, draw); }

} // namespace

QPixmap kept(const QString& key, const std::function<QPixmap()>& draw)
{
    if (g_drawAnew)
        return draw();
    static QHash<QString, QPixmap> store;
    auto it = store.constFind(key);
    if (it == store.cend())
        it = store.insert(key, draw());
    return *it;
}

void setDrawAnew(bool on) { g_drawAnew = on; }

bool drawingAnew() { return g_drawAnew; }

QPixmap beetle()
{
    return cached(QStringLiteral("beetle"), [] {
        QPixmap pm = canvas(32, 32, QColor(255, 230, 0));
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1.5));
        for (int i = 0; i < 3; ++i) { // legs
            const int y = 12 + i * 6;
            p.drawLine(8, y, 3, y + 2);
            p.drawLine(24, y, 29, y + 2);
        }
        p.drawLine(13, 6, 10, 1); // antennae
        p.drawLine(19, 6, 22, 1);
        p.setBrush(QColor(20, 40, 200));
        p.drawEllipse(QRectF(11, 4, 10, 7)); // head
        p.setBrush(QColor(210, 20, 20));
        p.drawEllipse(QRectF(7, 9, 18, 21)); // body
        p.drawLine(16, 10, 16, 30);
        p.setBrush(QColor(20, 40, 200));
        p.drawEllipse(QRectF(10, 15, 4, 4));
        p.drawEllipse(QRectF(18, 15, 4, 4));
        p.drawEllipse(QRectF(11, 22, 3, 3));
        p.drawEllipse(QRectF(18, 22, 3, 3));
        return pm;
    });
}

QPixmap hand()
{
    return cached(QStringLiteral("hand"), [] {
        QPixmap pm = canvas(32, 32);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        // Index finger pointing up, tip at (12, 1).
        path.moveTo(10, 3);
        path.quadTo(12, 0, 14, 3);
        path.lineTo(14, 13);
        path.lineTo(17, 12);
        path.lineTo(20, 13);
        path.lineTo(23, 14);
        path.lineTo(25, 16);
        path.lineTo(25, 23);
        path.lineTo(22, 26);
        path.lineTo(10, 26);
        path.lineTo(5, 19);
        path.lineTo(6, 16);
        path.lineTo(10, 18);
        path.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPath(path);
        p.setBrush(QColor(0, 0, 200));
        p.drawRect(QRectF(10, 26, 13, 5)); // cuff
        return pm;
    });
}

QPixmap exitFace()
{
    return cached(QStringLiteral("exit"), [] {
        QPixmap pm = canvas(32, 32);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 80, 0), 1.5));
        p.setBrush(QColor(40, 190, 60));
        p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setBrush(Qt::black);
        p.drawEllipse(QRectF(10, 10, 3, 4));
        p.drawEllipse(QRectF(19, 10, 3, 4));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 2));
        p.drawArc(QRectF(9, 19, 14, 10), 20 * 16, 140 * 16); // a frown
        return pm;
    });
}

QPixmap chart(bool greyed)
{
    return cached(greyed ? QStringLiteral("chart-g") : QStringLiteral("chart"), [greyed] {
        QPixmap pm = canvas(32, 32);
        QPainter p(&pm);
        p.setPen(QPen(grey(Qt::black, greyed), 1));
        p.drawLine(4, 28, 29, 28);
        p.drawLine(4, 4, 4, 28);
        const QColor bars[] = {QColor(220, 30, 30), QColor(30, 160, 30), QColor(30, 60, 220)};
        const int heights[] = {10, 18, 14};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(grey(bars[i], greyed));
            p.drawRect(7 + i * 7, 28 - heights[i], 5, heights[i]);
        }
        return pm;
    });
}

QPixmap document(bool greyed)
{
    return cached(greyed ? QStringLiteral("doc-g") : QStringLiteral("doc"), [greyed] {
        QPixmap pm = canvas(32, 32);
        QPainter p(&pm);
        p.setPen(QPen(grey(Qt::black, greyed), 1));
        p.setBrush(Qt::white);
        QPolygon page({QPoint(6, 2), QPoint(20, 2), QPoint(26, 8), QPoint(26, 30), QPoint(6, 30)});
        p.drawPolygon(page);
        p.drawLine(20, 2, 20, 8);
        p.drawLine(20, 8, 26, 8);
        p.setPen(QPen(grey(QColor(0, 0, 180), greyed), 1));
        for (int y = 12; y <= 26; y += 4)
            p.drawLine(9, y, 23, y);
        return pm;
    });
}

namespace {
QPixmap arrow(bool left, bool bar)
{
    QPixmap pm = canvas(32, 32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 90), 1));
    p.setBrush(QColor(0, 90, 200));
    QPolygonF tri;
    if (left)
        tri << QPointF(bar ? 10 : 6, 16) << QPointF(26, 5) << QPointF(26, 27);
    else
        tri << QPointF(26, 16) << QPointF(6, 5) << QPointF(6, 27);
    p.drawPolygon(tri);
    if (bar)
        p.drawRect(QRectF(4, 5, 4, 22));
    return pm;
}
} // namespace

QPixmap indexArrow() { return cached(QStringLiteral("index"), [] { return arrow(true, true); }); }
QPixmap backArrow() { return cached(QStringLiteral("back"), [] { return arrow(true, false); }); }
QPixmap nextArrow() { return cached(QStringLiteral("next"), [] { return arrow(false, false); }); }

QPixmap printer()
{
    return cached(QStringLiteral("printer"), [] {
        QPixmap pm = canvas(32, 32);
        QPainter p(&pm);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(9, 3, 14, 10);  // paper in
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(3, 12, 26, 12); // body
        p.setBrush(Qt::white);
        p.drawRect(8, 20, 16, 9);  // paper out
        p.setBrush(QColor(0, 200, 0));
        p.drawRect(24, 15, 2, 2);
        return pm;
    });
}

QPixmap floppy()
{
    return cached(QStringLiteral("floppy"), [] {
        QPixmap pm = canvas(32, 32);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(4, 8, 22, 22);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(9, 8, 12, 7);
        p.setBrush(Qt::white);
        p.drawRect(8, 20, 14, 10);
        p.setPen(QPen(QColor(0, 0, 230), 3));
        p.drawLine(24, 2, 24, 12); // blue arrow
        p.drawLine(24, 13, 20, 8);
        p.drawLine(24, 13, 28, 8);
        return pm;
    });
}

QPixmap emblemRound()
{
    return cached(QStringLiteral("emblem-r"), [] {
        QPixmap pm = canvas(60, 60);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 90, 160), 2));
        p.setBrush(QColor(200, 230, 250));
        p.drawEllipse(QRectF(3, 3, 54, 54));
        p.setPen(QPen(QColor(0, 90, 160), 1));
        p.drawEllipse(QRectF(15, 3, 30, 54));
        p.drawLine(3, 30, 57, 30);
        p.drawLine(8, 17, 52, 17);
        p.drawLine(8, 43, 52, 43);
        return pm;
    });
}

QPixmap emblemWide()
{
    return cached(QStringLiteral("emblem-w"), [] {
        QPixmap pm = canvas(99, 54, Qt::white);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 110, 40), 1));
        p.setBrush(QColor(40, 160, 60));
        QPainterPath leaf;
        leaf.moveTo(8, 46);
        leaf.cubicTo(8, 16, 30, 6, 44, 6);
        leaf.cubicTo(44, 30, 30, 46, 8, 46);
        p.drawPath(leaf);
        p.setPen(QPen(QColor(0, 80, 30), 1.5));
        p.drawLine(QPointF(10, 44), QPointF(40, 10));
        p.setPen(QColor(0, 80, 30));
        p.setFont(arial(8, true));
        p.drawText(QRectF(48, 10, 50, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("PLANT"));
        p.drawText(QRectF(48, 28, 50, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("HEALTH"));
        return pm;
    });
}

QPixmap word(const QString& text, int width, int height)
{
    return cached(QStringLiteral("word:%1:%2x%3").arg(text).arg(width).arg(height), [=] {
        QPixmap pm = canvas(width, height);
        QPainter p(&pm);
        QLinearGradient g(0, 0, 0, height);
        g.setColorAt(0, QColor(230, 230, 150));
        g.setColorAt(1, QColor(150, 150, 40));
        p.fillRect(pm.rect(), g);
        p.setPen(QColor(90, 90, 20));
        p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        QFont f = arial(9, true);
        QFontMetrics fm(f);
        while (f.pointSizeF() > 5 && fm.horizontalAdvance(text) > width - 4) {
            f.setPointSizeF(f.pointSizeF() - 0.5);
            fm = QFontMetrics(f);
        }
        p.setFont(f);
        p.drawText(pm.rect(), Qt::AlignCenter, text);
        return pm;
    });
}

} // namespace tav::pictures

namespace tav {

QIcon windowIcon()
{
    static QIcon icon(pictures::beetle());
    return icon;
}

QCursor handCursor()
{
    // Building a cursor from a picture converts it each time; every load
    // sets it on many controls.
    static const QCursor kept(pictures::hand(), 12, 1);
    return pictures::g_drawAnew ? QCursor(pictures::hand(), 12, 1) : kept;
}

} // namespace tav
