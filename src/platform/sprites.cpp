#include "platform/sprites.h"

#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tav::sprites {

namespace {

// Enough for every mark of the largest drawings (two colours of rings in
// sixteen positions within a pixel, and the few others); past it the cache
// starts afresh.
constexpr int kMaxKept = 64;
constexpr int kMaxGrids = 4;

QImage blank(int side)
{
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// x times a / 255 per channel, rounded as the raster engine does.
inline uint byteMul(uint x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = x + ((x >> 8) & 0xff00ff) + 0x800080;
    x &= 0xff00ff00;
    return x | t;
}

// A small sprite as the list of its pixels that are not clear, the opaque
// ones apart: stamping it touches nothing else.
struct Px {
    int x, y;
    QRgb v;
};
struct Compiled {
    qint64 key = 0; // the image's cache key; 0 for none
    std::vector<Px> opaque, blend;
};

const Compiled* compiled(const QImage& sprite, int w, int h)
{
    constexpr int kMaxPixels = 64 * 64; // a ring at twice the ratio
    if (w * h > kMaxPixels)
        return nullptr;
    // The sprites stamped lately, by their image; the last one first.
    static QHash<qint64, Compiled> kept;
    static const Compiled* last = nullptr;
    const qint64 key = sprite.cacheKey();
    if (last && last->key == key)
        return last;
    auto it = kept.constFind(key);
    if (it == kept.constEnd()) {
        last = nullptr;
        if (kept.size() >= kMaxKept)
            kept.clear();
        Compiled c;
        c.key = key;
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(sprite.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                if (line[x] >= 0xff000000u)
                    c.opaque.push_back(Px{x, y, line[x]});
                else if (line[x] != 0)
                    c.blend.push_back(Px{x, y, line[x]});
            }
        }
        it = kept.insert(key, std::move(c));
    }
    last = &*it;
    return last;
}

struct Key {
    int kind = 0; // 0 ring, 1 point
    QRgb rgba = 0;
    double radius = 0;
    int width = 0;
    double dx = 0, dy = 0;
    qreal ratio = 1;
    bool operator==(const Key& o) const
    {
        return kind == o.kind && rgba == o.rgba && radius == o.radius && width == o.width && dx == o.dx && dy == o.dy
            && ratio == o.ratio;
    }
};

size_t qHash(const Key& k, size_t seed = 0) noexcept
{
    return qHashMulti(seed, k.kind, k.rgba, k.radius, k.width, k.dx, k.dy, k.ratio);
}

int ringSide(double radius, int width, qreal ratio)
{
    return int(std::ceil(2 * (radius + width) * ratio)) + 2;
}

QHash<Key, QImage>& cache()
{
    static QHash<Key, QImage> c;
    return c;
}

// The reference holds until the next sprite is made.
template <class Make>
const QImage& cached(const Key& key, Make make)
{
    QHash<Key, QImage>& c = cache();
    auto it = c.constFind(key);
    if (it != c.constEnd())
        return *it;
    if (c.size() >= kMaxKept)
        c.clear();
    return *c.insert(key, make());
}

// Drawn in device pixels, then given its ratio.
const QImage& ringRef(const QColor& color, double radius, int width, double dx, double dy, qreal ratio)
{
    return cached(Key{0, color.rgba(), radius, width, dx, dy, ratio}, [&] {
        const int side = ringSide(radius, width, ratio);
        QImage img = blank(side);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(color, width * ratio));
            p.drawEllipse(QPointF(side / 2.0 + dx, side / 2.0 + dy), radius * ratio, radius * ratio);
        }
        img.setDevicePixelRatio(ratio);
        return img;
    });
}

// Lays `sprite` with its top-left corner on device pixel `at` of `target`.
void stampDevice(QImage& target, const QImage& sprite, QPoint at)
{
    const int x0 = at.x(), y0 = at.y();
    const int w = sprite.width(), h = sprite.height();
    const int sx = std::max(0, -x0), sy = std::max(0, -y0);
    const int ex = std::min(w, target.width() - x0);
    const int ey = std::min(h, target.height() - y0);
    if (sx >= ex || sy >= ey)
        return;
    uchar* bits = target.bits();
    const qsizetype bpl = target.bytesPerLine();
    if (sx == 0 && sy == 0 && ex == w && ey == h) {
        if (const Compiled* c = compiled(sprite, w, h)) {
            // Whole within the target: only the sprite's marked pixels.
            uchar* origin = bits + y0 * bpl + x0 * 4;
            for (const Px& p : c->opaque)
                *reinterpret_cast<QRgb*>(origin + p.y * bpl + p.x * 4) = p.v;
            for (const Px& p : c->blend) {
                QRgb* d = reinterpret_cast<QRgb*>(origin + p.y * bpl + p.x * 4);
                *d = p.v + byteMul(*d, qAlpha(~p.v));
            }
            return;
        }
    }
    const uchar* spriteBits = sprite.constBits();
    const qsizetype spriteBpl = sprite.bytesPerLine();
    const int n = ex - sx;
    for (int y = sy; y < ey; ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(spriteBits + y * spriteBpl) + sx;
        QRgb* d = reinterpret_cast<QRgb*>(bits + (y0 + y) * bpl) + x0 + sx;
        for (int x = 0; x < n; ++x, ++s, ++d) {
            const uint src = *s;
            if (src >= 0xff000000u)
                *d = src;
            else if (src != 0)
                *d = src + byteMul(*d, qAlpha(~src));
        }
    }
}

} // namespace

QImage ring(const QColor& color, double radius, int width, double dx, double dy, qreal ratio)
{
    return ringRef(color, radius, width, dx, dy, ratio);
}

QImage point(const QColor& color, int width, qreal ratio)
{
    return cached(Key{1, color.rgba(), 0, width, 0, 0, ratio}, [&] {
        const int side = int(std::ceil(2 * width * ratio)) + 2;
        QImage img = blank(side);
        {
            QPainter p(&img);
            p.setPen(QPen(color, std::max(1, int(std::lround(width * ratio)))));
            p.drawPoint(QPointF(side / 2, side / 2));
        }
        img.setDevicePixelRatio(ratio);
        return img;
    });
}

void stamp(QImage& target, const QImage& sprite, QPointF at)
{
    const qreal ratio = target.devicePixelRatio();
    if (target.format() != QImage::Format_ARGB32_Premultiplied
        || sprite.format() != QImage::Format_ARGB32_Premultiplied || sprite.devicePixelRatio() != ratio) {
        QPainter p(&target);
        p.drawImage(at, sprite);
        return;
    }
    stampDevice(target, sprite, QPoint(qRound(at.x() * ratio), qRound(at.y() * ratio)));
}

void stampRing(QImage& target, QPointF centre, const QColor& color, double radius, int width)
{
    const qreal ratio = target.devicePixelRatio();
    const int side = ringSide(radius, width, ratio);
    const auto place = [&](double c, int& at, double& phase) {
        const double q = std::round(c * ratio * 4) / 4 - side / 2.0;
        at = int(std::floor(q));
        phase = q - at;
    };
    int x = 0, y = 0;
    double dx = 0, dy = 0;
    place(centre.x(), x, dx);
    place(centre.y(), y, dy);
    const QImage& sprite = ringRef(color, radius, width, dx, dy, ratio);
    if (target.format() != QImage::Format_ARGB32_Premultiplied) {
        QPainter p(&target);
        p.drawImage(QPointF(x / ratio, y / ratio), sprite);
        return;
    }
    stampDevice(target, sprite, QPoint(x, y));
}

namespace {

// A grid per consignment size in sight: the few last ones, whole-pixel
// lines and lines in fractions of a pixel apart.
template <class L>
QImage grid(QSize size, const QColor& color, int width, const QList<L>& lines, qreal ratio)
{
    struct Grid {
        QSize size;
        QRgb rgba;
        int width;
        qreal ratio;
        QList<L> lines;
        QImage image;
    };
    static QList<Grid> grids;
    for (qsizetype i = 0; i < grids.size(); ++i) {
        const Grid& g = grids[i];
        if (g.size == size && g.rgba == color.rgba() && g.width == width && g.ratio == ratio && g.lines == lines) {
            if (i > 0)
                grids.move(i, 0);
            return grids.first().image;
        }
    }
    QImage img = blank(1);
    if (ratio == 1) {
        img = QImage(size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setPen(QPen(color, width));
        for (const L& l : lines)
            p.drawLine(l);
    } else {
        // In device pixels: a line at x covers the device pixels from x
        // times the ratio, rounded, for one width; a painter scaled by a
        // fractional ratio would make some lines one device pixel wider
        // than others.
        img = QImage(QSize(int(std::ceil(size.width() * ratio - 1e-6)), int(std::ceil(size.height() * ratio - 1e-6))),
                     QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        const int t = std::max(1, int(std::lround(width * ratio)));
        const auto at = [&](double v) { return int(std::lround(v * ratio)); };
        QPainter p(&img);
        for (const L& l : lines) {
            const QLineF f(l);
            if (f.x1() == f.x2()) {
                const int y1 = at(std::min(f.y1(), f.y2())), y2 = at(std::max(f.y1(), f.y2()));
                p.fillRect(QRect(at(f.x1()), y1, t, y2 - y1 + t), color);
            } else if (f.y1() == f.y2()) {
                const int x1 = at(std::min(f.x1(), f.x2())), x2 = at(std::max(f.x1(), f.x2()));
                p.fillRect(QRect(x1, at(f.y1()), x2 - x1 + t, t), color);
            } else {
                p.setPen(QPen(color, t));
                p.drawLine(QLineF(f.p1() * ratio, f.p2() * ratio));
            }
        }
    }
    img.setDevicePixelRatio(ratio);
    if (grids.size() >= kMaxGrids)
        grids.removeLast();
    grids.prepend(Grid{size, color.rgba(), width, ratio, lines, img});
    return img;
}

} // namespace

QImage lines(QSize size, const QColor& color, const QList<QLine>& lines, qreal ratio)
{
    return grid(size, color, 1, lines, ratio);
}

QImage lines(QSize size, const QColor& color, int width, const QList<QLineF>& lines, qreal ratio)
{
    return grid(size, color, width, lines, ratio);
}

int kept() { return int(cache().size()); }

} // namespace tav::sprites
