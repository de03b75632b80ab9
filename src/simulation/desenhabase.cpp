#include "simulation/desenhabase.h"

#include "common/clock.h"
#include "common/messages.h"
#include "common/random.h"
#include "common/runtime.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/sprites.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <vector>

namespace tav {

const char* const kSampleTooLarge = "Sample size too large or too close to the consignmento size. It is not "
                                    "possible to show graphical representation.";

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGridGrey(200, 200, 200);
const QColor kWhite(255, 255, 255);

const QString kRefused = QStringLiteral("Refused !");
const QString kIngressed = QStringLiteral("Ingressed !");

// Whole numbers of the drawing: nearest, halves to the even one.
int whole(double v) { return clng(v); }

QList<int> steps(int step, int limit)
{
    QList<int> out;
    step = std::max(step, 1);
    for (int v = 0; v <= limit; v += step)
        out.append(v);
    return out;
}

void reseed(RandomSource& r) { r.reseed(clock().timer()); }

// Shapes for one picture box, stamped on one layer and laid onto the box's
// drawing at once: thousands of rings or dots stay within a frame.
// Coordinates and pen are those of the box.
class Layer {
public:
    explicit Layer(PictureBox* box)
        : box_(box), image_(box->takeLayer()),
          scale_(box->scaleMode() == PictureBox::ScaleTwips ? 1.0 / 15.0 : 1.0)
    {
    }
    ~Layer()
    {
        flush();
        box_->layDown(image_, false);
    }
    // Every ring of one radius and colour looks the same: it is drawn once
    // and then stamped on the nearest whole pixel.
    void circle(double x, double y, double radius, const QColor& color)
    {
        const double r = radius * scale_;
        if (sprite_.isNull() || r != spriteRadius_ || color != spriteColor_) {
            sprite_ = sprites::ring(color, r, box_->drawWidth(), 0, 0, image_.devicePixelRatio());
            spriteRadius_ = r;
            spriteColor_ = color;
        }
        // On the nearest whole device pixel.
        const double ratio = image_.devicePixelRatio(), offset = sprite_.width() / 2.0;
        sprites::stamp(image_, sprite_,
                       QPointF(std::round(x * scale_ * ratio - offset), std::round(y * scale_ * ratio - offset)) / ratio);
        ++shapes_;
    }
    // Grid lines on whole pixels and without smoothing, so that they keep
    // their colour instead of fading into two half-tone rows; drawn once per
    // geometry.
    void grid(const QList<int>& verticals, double height, const QList<int>& horizontals, double width,
              const QColor& color)
    {
        const auto at = [&](double x, double y) {
            return QPoint(int(std::lround(x * scale_)), int(std::lround(y * scale_)));
        };
        const QList<QLine> lines = sprites::gridLines(verticals, height, horizontals, width, at);
        sprites::stamp(image_, sprites::lines(box_->size(), color, lines, image_.devicePixelRatio()), QPointF(0, 0));
        ++shapes_;
    }
    void flush()
    {
        if (shapes_ > 0) {
            box_->layDown(image_);
            image_ = box_->takeLayer();
        }
        shapes_ = 0;
    }

private:
    PictureBox* box_;
    QImage sprite_;
    double spriteRadius_ = -1;
    QColor spriteColor_;
    QImage image_;
    double scale_;
    int shapes_ = 0;
};

void dots(PictureBox* p, RandomSource& r, int count)
{
    const int w = int(p->scaleWidth()), h = int(p->scaleHeight());
    Layer layer(p);
    for (int i = 0; i < count; ++i) {
        const QPoint d = dotAt(r, w, h);
        layer.circle(d.x(), d.y(), 1, kRed);
    }
}

// The hourglass while drawing, the default pointer afterwards, also when an
// error ends the drawing.
struct Hourglass {
    QWidget* w;
    explicit Hourglass(QWidget* widget) : w(widget)
    {
        if (w)
            w->setCursor(Qt::WaitCursor);
    }
    ~Hourglass()
    {
        if (w)
            w->unsetCursor();
    }
};

} // namespace

QList<int> BaseGeometry::verticals() const { return steps(s, whole(W)); }
QList<int> BaseGeometry::horizontals() const { return steps(t, whole(H)); }

QPointF BaseGeometry::centre(int u) const
{
    const int row = u / cols;
    const int col = u - row * cols;
    return {col * cw + cw / 2, row * ch + ch / 2};
}

BaseGeometry baseGeometry(float W, float H, int32_t pop)
{
    BaseGeometry g;
    g.W = W;
    g.H = H;
    g.ratio = float(cdiv(W, H));
    g.cols = int(std::floor(float(csqrt(double(g.ratio) * pop)) + 0.5f));
    g.rows = int(std::floor(float(cdiv(g.cols, g.ratio)) + 0.5f));
    g.ch = float(cdiv(H, g.rows));
    g.cw = float(cdiv(W, g.cols));
    g.s = whole(W / g.cols);
    g.t = whole(H / g.rows);
    return g;
}

float infestedCells(const BaseGeometry& g, float inf)
{
    return std::floor(float(g.rows * g.cols) * inf + 0.5f);
}

int drawUnit(RandomSource& r, int32_t pop) { return int(std::floor(r.next() * float(pop) + 1.0f)); }

BasePlan planBase(float W, float H, int32_t pop, float inf, int32_t samp, RandomSource& r)
{
    BasePlan plan;
    if (inf > kMaxDrawnPrevalence || pop > kMaxDrawnConsignment)
        return plan;
    plan.geometry = baseGeometry(W, H, pop);
    plan.drawn = true;
    plan.ninfestadas = infestedCells(plan.geometry, inf);

    reseed(r);
    std::vector<char> marks(size_t(pop) + 1, 0);
    // A grid with more cells than units would ask for more distinct units
    // than exist: the placement stops when every unit is infested.
    const int wanted = std::min<int64_t>(int64_t(plan.ninfestadas), pop);
    for (int i = 0; i < wanted; ++i) {
        int u;
        do
            u = drawUnit(r, pop);
        while (marks[size_t(u)]);
        marks[size_t(u)] = 1;
        plan.infested.append(u);
    }

    std::vector<char> sample(size_t(pop) + 1, 0);
    reseed(r);
    for (int i = 0; i < samp; ++i) {
        // With every unit sampled each further draw repeats one, so the
        // bound is certain to be passed: no need to make the draws.
        if (i == pop) {
            plan.attempts = kMaxSampleAttempts + 1;
            plan.sampleFailed = true;
            return plan;
        }
        int u = drawUnit(r, pop);
        while (sample[size_t(u)]) {
            if (++plan.attempts > kMaxSampleAttempts) {
                plan.sampleFailed = true;
                return plan;
            }
            u = drawUnit(r, pop);
        }
        sample[size_t(u)] = 1;
        plan.sampled.append(u);
    }
    for (int u = 1; u <= pop && !plan.refused; ++u)
        plan.refused = sample[size_t(u)] && marks[size_t(u)];
    return plan;
}

int hostDots(float ninfestadas, float pr1) { return whole(ninfestadas * pr1); }
int establishedDots(float ninfestadas, float pr1, float pr2) { return whole(ninfestadas * pr1 * pr2); }

QPoint dotAt(RandomSource& r, int innerWidth, int innerHeight)
{
    const int y = int(std::floor(float(innerHeight) * r.next() + 1.0f));
    const int x = int(std::floor(float(innerWidth) * r.next() + 1.0f));
    return {x, y};
}

namespace {

void establishedStep(const BaseSurface& s, RandomSource& r, float n, float pr1, float pr2)
{
    reseed(r);
    s.established->cls();
    if (s.verdict->text() == kRefused)
        return;
    if (n * pr1 * pr2 > 1.0f)
        s.establishedLabel->setForeColor(kRed);
    dots(s.established, r, establishedDots(n, pr1, pr2));
}

void hostStep(const BaseSurface& s, RandomSource& r, float n, float pr1, float pr2)
{
    s.host->cls();
    if (s.verdict->text() == kRefused)
        return;
    if (n * pr1 > 1.0f)
        s.hostLabel->setForeColor(kRed);
    dots(s.host, r, hostDots(n, pr1));
    establishedStep(s, r, n, pr1, pr2);
}

} // namespace

void desenhabase(const BaseSurface& s, float& ninfestadas, int flag, int32_t pop, float inf, int32_t samp,
                 float pr1, float pr2)
{
    Hourglass busy(s.window);
    RandomSource& r = rng();
    if (flag == 3) {
        hostStep(s, r, ninfestadas, pr1, pr2);
        return;
    }
    if (flag == 4) {
        establishedStep(s, r, ninfestadas, pr1, pr2);
        return;
    }

    PictureBox* p = s.consignment;
    p->cls();
    const BasePlan plan = planBase(float(p->scaleWidth()), float(p->scaleHeight()), pop, inf, samp, r);
    if (!plan.drawn)
        return;
    const BaseGeometry& g = plan.geometry;
    {
        // The grid lines are one pixel wide whatever the box's pen.
        Layer grid(p);
        grid.grid(g.verticals(), g.H, g.horizontals(), g.W, kGridGrey);
    }
    ninfestadas = plan.ninfestadas;

    {
        Layer rings(p);
        for (int u : plan.infested) {
            const QPointF c = g.centre(u);
            rings.circle(c.x(), c.y(), g.ch / 3.5f, kRed);
        }
        if (plan.sampleFailed) {
            rings.flush();
            // The rings drawn before the bound was reached go too.
            msgbox(QString::fromLatin1(kSampleTooLarge), MbCritical, QStringLiteral("Warning"));
            for (PictureBox* each : {s.consignment, s.host, s.established, s.ingressed})
                each->cls();
            return;
        }
        for (int u : plan.sampled) {
            const QPointF c = g.centre(u);
            rings.circle(c.x(), c.y(), g.ch / 2.2f, kBlue);
        }
    }

    s.verdict->setText(kRefused);
    s.verdict->setForeColor(kWhite);
    s.hostLabel->setForeColor(kWhite);
    s.establishedLabel->setForeColor(kWhite);
    if (plan.refused) {
        for (PictureBox* each : {s.host, s.established, s.ingressed})
            each->cls();
        return;
    }

    s.verdict->setText(kIngressed);
    s.verdict->setForeColor(kRed);
    reseed(r);
    s.ingressed->cls();
    dots(s.ingressed, r, whole(ninfestadas));
    reseed(r);
    hostStep(s, r, ninfestadas, pr1, pr2);
}

} // namespace tav
