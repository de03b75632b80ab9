#include "platform/pictures.h"

#include "platform/controls.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <cmath>

namespace tav::pictures {

namespace {

QPixmap canvas(int w, int h, qreal ratio, const QColor& fill = Qt::transparent)
{
    return surface(QSize(w, h), ratio, fill);
}

QColor grey(const QColor& c, bool greyed)
{
    if (!greyed)
        return c;
    const int g = qGray(c.rgb());
    return QColor(g, g, g);
}

bool g_drawAnew = false;

// What each kept picture was drawn from, by the picture's cache key, so
// that a control can have it again at another ratio.
struct Source {
    QString key;
    std::function<QPixmap(qreal)> draw;
};
QHash<qint64, Source>& sources()
{
    static QHash<qint64, Source> s;
    return s;
}

QPixmap cached(const QString& key, qreal ratio, const std::function<QPixmap(qreal)>& draw)
{
    return kept(key, ratio, draw);
}

} // namespace

qreal ratioOf(const QWidget* w) { return w ? w->devicePixelRatioF() : screenRatio(); }

qreal screenRatio() { return qApp ? qApp->devicePixelRatio() : 1.0; }

QSize deviceSize(QSize size, qreal ratio)
{
    // Up to the whole device pixel, so that the surface covers its box.
    return QSize(int(std::ceil(size.width() * ratio - 1e-6)), int(std::ceil(size.height() * ratio - 1e-6)));
}

QPixmap surface(QSize size, qreal ratio, const QColor& fill)
{
    QPixmap p(deviceSize(size, ratio));
    p.setDevicePixelRatio(ratio);
    p.fill(fill);
    return p;
}

QImage layer(QSize size, qreal ratio)
{
    QImage img(deviceSize(size, ratio), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::transparent);
    return img;
}

bool isRatioChange(const QEvent* e)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (e->type() == QEvent::DevicePixelRatioChange)
        return true;
#endif
    return e->type() == QEvent::ScreenChangeInternal;
}

int deviceLineWidth(qreal ratio) { return std::max(1, int(std::lround(ratio))); }

void drawFrame(QPainter& p, const QRect& r, const QColor& color)
{
    // In device pixels: the box's edges rounded to the nearest device pixel
    // boundary, each side a whole number of device pixels inside them.
    const QTransform toDevice = p.deviceTransform();
    const QRectF d = toDevice.mapRect(QRectF(r));
    const int left = int(std::lround(d.left())), top = int(std::lround(d.top()));
    const int right = int(std::lround(d.right())), bottom = int(std::lround(d.bottom()));
    if (right <= left || bottom <= top)
        return;
    const qreal ratio = std::abs(toDevice.m11()) > 0 ? std::abs(toDevice.m11()) : 1.0;
    const int t = std::min({deviceLineWidth(ratio), (right - left + 1) / 2, (bottom - top + 1) / 2});
    p.save();
    p.setWorldTransform(toDevice.inverted() * p.worldTransform());
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = right - left, h = bottom - top;
    p.fillRect(QRect(left, top, w, t), color);
    p.fillRect(QRect(left, bottom - t, w, t), color);
    p.fillRect(QRect(left, top, t, h), color);
    p.fillRect(QRect(right - t, top, t, h), color);
    p.restore();
}

QPixmap kept(const QString& key, qreal ratio, const std::function<QPixmap(qreal)>& draw)
{
    QPixmap out;
    if (g_drawAnew) {
        out = draw(ratio);
    } else {
        static QHash<QString, QPixmap> store;
        const QString at = key + QLatin1Char('@') + QString::number(ratio);
        auto it = store.constFind(at);
        if (it == store.cend())
            it = store.insert(at, draw(ratio));
        out = *it;
    }
    QHash<qint64, Source>& s = sources();
    if (!s.contains(out.cacheKey())) {
        if (s.size() > 4096) // only pictures drawn anew (tests) come this far
            s.clear();
        s.insert(out.cacheKey(), Source{key, draw});
    }
    return out;
}

QPixmap atRatio(const QPixmap& picture, qreal ratio)
{
    if (picture.isNull() || picture.devicePixelRatio() == ratio)
        return picture;
    const auto it = sources().constFind(picture.cacheKey());
    if (it == sources().cend())
        return picture;
    const Source source = *it; // kept() may clear the table
    return kept(source.key, ratio, source.draw);
}

void setDrawAnew(bool on) { g_drawAnew = on; }

bool drawingAnew() { return g_drawAnew; }

QPixmap beetle(qreal ratio)
{
    return cached(QStringLiteral("beetle"), ratio, [](qreal r) {
        QPixmap pm = canvas(32, 32, r, QColor(255, 230, 0));
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

QPixmap hand(qreal ratio)
{
    return cached(QStringLiteral("hand"), ratio, [](qreal r) {
        QPixmap pm = canvas(32, 32, r);
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

QPixmap exitFace(qreal ratio)
{
    return cached(QStringLiteral("exit"), ratio, [](qreal r) {
        QPixmap pm = canvas(32, 32, r);
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

QPixmap chart(bool greyed, qreal ratio)
{
    return cached(greyed ? QStringLiteral("chart-g") : QStringLiteral("chart"), ratio, [greyed](qreal r) {
        QPixmap pm = canvas(32, 32, r);
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

QPixmap document(bool greyed, qreal ratio)
{
    return cached(greyed ? QStringLiteral("doc-g") : QStringLiteral("doc"), ratio, [greyed](qreal r) {
        QPixmap pm = canvas(32, 32, r);
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
QPixmap arrow(bool left, bool bar, qreal r)
{
    QPixmap pm = canvas(32, 32, r);
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

QPixmap indexArrow(qreal ratio) { return cached(QStringLiteral("index"), ratio, [](qreal r) { return arrow(true, true, r); }); }
QPixmap backArrow(qreal ratio) { return cached(QStringLiteral("back"), ratio, [](qreal r) { return arrow(true, false, r); }); }
QPixmap nextArrow(qreal ratio) { return cached(QStringLiteral("next"), ratio, [](qreal r) { return arrow(false, false, r); }); }

QPixmap printer(qreal ratio)
{
    return cached(QStringLiteral("printer"), ratio, [](qreal r) {
        QPixmap pm = canvas(32, 32, r);
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

QPixmap floppy(qreal ratio)
{
    return cached(QStringLiteral("floppy"), ratio, [](qreal r) {
        QPixmap pm = canvas(32, 32, r);
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

QPixmap emblemRound(qreal ratio)
{
    return cached(QStringLiteral("emblem-r"), ratio, [](qreal r) {
        QPixmap pm = canvas(60, 60, r);
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

QPixmap emblemWide(qreal ratio)
{
    return cached(QStringLiteral("emblem-w"), ratio, [](qreal r) {
        QPixmap pm = canvas(99, 54, r, Qt::white);
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

QPixmap word(const QString& text, int width, int height, qreal ratio)
{
    return cached(QStringLiteral("word:%1:%2x%3").arg(text).arg(width).arg(height), ratio, [=](qreal r) {
        QPixmap pm = canvas(width, height, r);
        QPainter p(&pm);
        QLinearGradient g(0, 0, 0, height);
        g.setColorAt(0, QColor(230, 230, 150));
        g.setColorAt(1, QColor(150, 150, 40));
        const QRect box(0, 0, width, height);
        p.fillRect(box, g);
        drawFrame(p, box, QColor(90, 90, 20));
        p.setPen(Qt::black);
        QFont f = arial(9, true);
        QFontMetrics fm(f);
        while (f.pointSizeF() > 5 && fm.horizontalAdvance(text) > width - 4) {
            f.setPointSizeF(f.pointSizeF() - 0.5);
            fm = QFontMetrics(f);
        }
        p.setFont(f);
        p.drawText(box, Qt::AlignCenter, text);
        return pm;
    });
}

} // namespace tav::pictures

namespace tav {

QIcon windowIcon()
{
    // The beetle at the ratios of today's screens; the icon takes the
    // nearest for the screen it is shown on.
    static const QIcon icon = [] {
        QIcon i;
        for (qreal r : {1.0, 1.25, 1.5, 2.0, 3.0, pictures::screenRatio()})
            i.addPixmap(pictures::beetle(r));
        return i;
    }();
    return icon;
}

QCursor handCursor(qreal ratio)
{
    // Building a cursor from a picture converts it each time; every load
    // sets it on many controls.
    if (pictures::drawingAnew())
        return QCursor(pictures::hand(ratio), 12, 1);
    static QHash<qreal, QCursor> kept;
    auto it = kept.constFind(ratio);
    if (it == kept.cend())
        it = kept.insert(ratio, QCursor(pictures::hand(ratio), 12, 1));
    return *it;
}

} // namespace tav
