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
    constexpr int kMaxPixels = 32 * 32;
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
    bool operator==(const Key& o) const
    {
        return kind == o.kind && rgba == o.rgba && radius == o.radius && width == o.width && dx == o.dx && dy == o.dy;
    }
};

size_t qHash(const Key& k, size_t seed = 0) noexcept
{
    return qHashMulti(seed, k.kind, k.rgba, k.radius, k.width, k.dx, k.dy);
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

const QImage& ringRef(const QColor& color, double radius, int width, double dx, double dy)
{
    return cached(Key{0, color.rgba(), radius, width, dx, dy}, [&] {
        const int side = int(std::ceil(2 * (radius + width))) + 2;
        QImage img = blank(side);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(color, width));
        p.drawEllipse(QPointF(side / 2.0 + dx, side / 2.0 + dy), radius, radius);
        return img;
    });
}

} // namespace

QImage ring(const QColor& color, double radius, int width, double dx, double dy)
{
    return ringRef(color, radius, width, dx, dy);
}

QImage point(const QColor& color, int width)
{
    return cached(Key{1, color.rgba(), 0, width, 0, 0}, [&] {
        const int side = 2 * width + 2;
        QImage img = blank(side);
        QPainter p(&img);
        p.setPen(QPen(color, width));
        p.drawPoint(QPointF(side / 2, side / 2));
        return img;
    });
}

void stamp(QImage& target, const QImage& sprite, QPointF at)
{
    if (target.format() != QImage::Format_ARGB32_Premultiplied
        || sprite.format() != QImage::Format_ARGB32_Premultiplied) {
        QPainter p(&target);
        p.drawImage(at, sprite);
        return;
    }
    const int x0 = qRound(at.x()), y0 = qRound(at.y());
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

void stampRing(QImage& target, QPointF centre, const QColor& color, double radius, int width)
{
    const int side = int(std::ceil(2 * (radius + width))) + 2;
    const auto place = [&](double c, int& at, double& phase) {
        const double q = std::round(c * 4) / 4 - side / 2.0;
        at = int(std::floor(q));
        phase = q - at;
    };
    int x = 0, y = 0;
    double dx = 0, dy = 0;
    place(centre.x(), x, dx);
    place(centre.y(), y, dy);
    stamp(target, ringRef(color, radius, width, dx, dy), QPointF(x, y));
}

namespace {

// A grid per consignment size in sight: the few last ones, whole-pixel
// lines and lines in fractions of a pixel apart.
template <class L>
QImage grid(QSize size, const QColor& color, int width, const QList<L>& lines)
{
    struct Grid {
        QSize size;
        QRgb rgba;
        int width;
        QList<L> lines;
        QImage image;
    };
    static QList<Grid> grids;
    for (qsizetype i = 0; i < grids.size(); ++i) {
        const Grid& g = grids[i];
        if (g.size == size && g.rgba == color.rgba() && g.width == width && g.lines == lines) {
            if (i > 0)
                grids.move(i, 0);
            return grids.first().image;
        }
    }
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setPen(QPen(color, width));
        for (const L& l : lines)
            p.drawLine(l);
    }
    if (grids.size() >= kMaxGrids)
        grids.removeLast();
    grids.prepend(Grid{size, color.rgba(), width, lines, img});
    return img;
}

} // namespace

QImage lines(QSize size, const QColor& color, const QList<QLine>& lines) { return grid(size, color, 1, lines); }

QImage lines(QSize size, const QColor& color, int width, const QList<QLineF>& lines)
{
    return grid(size, color, width, lines);
}

int kept() { return int(cache().size()); }

} // namespace tav::sprites
