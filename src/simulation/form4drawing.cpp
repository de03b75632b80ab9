#include "simulation/form4drawing.h"

#include "common/clock.h"
#include "common/colors.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/random.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/window.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/sprites.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>
#include <vector>

namespace tav {

namespace {

constexpr int kCounterMax = std::numeric_limits<int16_t>::max();
// Above this many units the marks are kept in a set of the marked units, so a
// large consignment drawn on the hidden panel needs no flag per unit.
constexpr int32_t kFlagLimit = 1 << 20;

const QColor kGridColor(200, 200, 200);
const QColor kInfestedColor(255, 0, 0);
const QColor kInspectedColor(0, 0, 255);

} // namespace

// ---- geometry ----

QPointF ConsignmentGrid::centre(int32_t unit) const
{
    const int32_t row = unit / cols;
    const int32_t col = unit - cols * row;
    return QPointF(double(float(col) * cellW + cellW / 2.0f), double(float(row) * cellH + cellH / 2.0f));
}

namespace {

// Lines from 0 by repeated single-precision steps while within `extent`; a
// step too small to move the position on ends the lines.
QList<float> lineSteps(float extent, float step)
{
    QList<float> out;
    for (float x = 0.0f; x <= extent;) {
        out.append(x);
        const float next = x + step;
        if (!(next > x))
            break;
        x = next;
    }
    return out;
}

} // namespace

ConsignmentGrid consignmentGrid(float width, float height, int32_t N)
{
    ConsignmentGrid g;
    g.width = width;
    g.height = height;
    g.ratio = float(cdiv(width, height));
    g.cols = clng(vbInt(double(float(csqrt(double(float(checked(double(g.ratio) * N))))) + 0.5f)));
    g.shapeRows = clng(vbInt(double(float(cdiv(g.cols, g.ratio)) + 0.5f)));
    // Unit N sits in row Int(N / cols), counted from 0. Without a column
    // the cell height below raises.
    g.rows = g.cols > 0 ? int32_t(std::max<int64_t>(g.shapeRows, int64_t(N) / g.cols + 1)) : g.shapeRows;
    g.cellH = float(cdiv(height, g.rows));
    g.cellW = float(cdiv(width, g.cols));
    g.verticals = lineSteps(width, width / float(g.cols));
    g.horizontals = lineSteps(height, height / float(g.rows));
    return g;
}

int32_t infestedCount(const ConsignmentGrid& g, double prevalence)
{
    return clng(vbInt(checked(double(g.cells()) * prevalence + 0.5)));
}

void checkInfestable(int32_t nInf, int32_t N)
{
    if (nInf > N)
        throw RuntimeError(ErrInvalidCall,
                           QStringLiteral("The prevalence asks for %1 infested units in a consignment of %2 units; "
                                          "the picture cannot show it")
                               .arg(nInf)
                               .arg(N));
}

// ---- the draws ----

class ConsignmentDraws::Marks {
public:
    explicit Marks(int32_t N)
    {
        if (N <= kFlagLimit)
            flags_.assign(size_t(std::max(N, 0)) + 1, 0);
    }
    bool has(int32_t u) const
    {
        return flags_.empty() ? set_.count(u) != 0 : flags_[size_t(u)] != 0;
    }
    void set(int32_t u)
    {
        if (flags_.empty())
            set_.insert(u);
        else
            flags_[size_t(u)] = 1;
    }
    void clear()
    {
        if (flags_.empty())
            set_.clear();
        else
            std::fill(flags_.begin(), flags_.end(), uint8_t(0));
    }

private:
    std::vector<uint8_t> flags_;
    std::unordered_set<int32_t> set_;
};

ConsignmentDraws::ConsignmentDraws(int32_t N)
    : N_(N), infestedMarks_(std::make_unique<Marks>(N)), inspectedMarks_(std::make_unique<Marks>(N))
{
}

ConsignmentDraws::~ConsignmentDraws() = default;

void ConsignmentDraws::checkSize() const
{
    if (N_ < 1)
        raise(ErrInvalidCall);
}

int32_t ConsignmentDraws::draw(RandomSource& r) const
{
    const double u = std::floor(double(r.next()) * N_ + 1.0);
    return int32_t(std::clamp(u, 1.0, double(N_)));
}

void ConsignmentDraws::count()
{
    if (counter_ >= kCounterMax)
        raise(ErrOverflow);
    ++counter_;
}

void ConsignmentDraws::startInfestation()
{
    infestedMarks_->clear();
    infested_.clear();
    counter_ = 0;
}

int32_t ConsignmentDraws::placeInfested(RandomSource& r)
{
    checkSize();
    int32_t u = 0;
    do {
        u = draw(r);
        count();
    } while (infestedMarks_->has(u));
    infestedMarks_->set(u);
    infested_.append(u);
    return u;
}

void ConsignmentDraws::startInspection()
{
    inspectedMarks_->clear();
    inspected_.clear();
    counter_ = 0;
}

int32_t ConsignmentDraws::placeInspected(RandomSource& r)
{
    checkSize();
    // No unit left: the search could never end.
    if (inspected_.size() >= N_)
        raise(ErrInvalidCall);
    int32_t u = 0;
    do {
        u = draw(r);
    } while (inspectedMarks_->has(u));
    inspectedMarks_->set(u);
    inspected_.append(u);
    return u;
}

void ConsignmentDraws::countInspected() { count(); }

bool ConsignmentDraws::isInfested(int32_t u) const { return u >= 1 && u <= N_ && infestedMarks_->has(u); }
bool ConsignmentDraws::isInspected(int32_t u) const { return u >= 1 && u <= N_ && inspectedMarks_->has(u); }

int32_t ConsignmentDraws::firstHit() const
{
    int32_t first = 0;
    for (int32_t u : infested_)
        if (inspectedMarks_->has(u) && (first == 0 || u < first))
            first = u;
    return first;
}

QPointF destinationDot(RandomSource& r, double scaleWidth, double scaleHeight)
{
    const double y = std::floor(scaleHeight * double(r.next()) + 1.0);
    const double x = std::floor(scaleWidth * double(r.next()) + 1.0);
    return QPointF(x, y);
}

QString verdictText(bool refused) { return refused ? QStringLiteral("Refused !") : QStringLiteral("Ingressed !"); }
QColor verdictColor(bool refused) { return refused ? QColor(255, 0, 0) : QColor(16, 146, 16); }

ConsignmentPlan planConsignment(float width, float height, int32_t N, double prevalence, float n,
                                double destWidth, double destHeight, RandomSource& r)
{
    ConsignmentPlan p;
    r.reseed(clock().timer());
    p.grid = consignmentGrid(width, height, N);
    p.nInf = infestedCount(p.grid, prevalence);
    checkInfestable(p.nInf, N);
    ConsignmentDraws draws(N);
    draws.startInfestation();
    r.reseed(clock().timer());
    for (int32_t i = 0; i < p.nInf; ++i)
        draws.placeInfested(r);
    p.infestationDraws = draws.counter();
    draws.startInspection();
    r.reseed(clock().timer());
    for (double i = 1; i <= double(n); ++i) {
        draws.placeInspected(r);
        draws.countInspected();
    }
    p.infested = draws.infested();
    p.inspected = draws.inspected();
    p.firstHit = draws.firstHit();
    p.refused = p.firstHit != 0;
    if (!p.refused) {
        r.reseed(clock().timer());
        for (int32_t i = 0; i < p.nInf; ++i)
            p.dots.append(destinationDot(r, destWidth, destHeight));
    }
    return p;
}

// ---- the panel ----

namespace {

// A circle of the legend (an outline, as the marks are drawn).
class ShapeCircle : public QWidget {
public:
    ShapeCircle(QWidget* parent, const QColor& color) : QWidget(parent), color_(color)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(color_, 1));
        p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }

private:
    QColor color_;
};

// A faded blend towards white, as a washed-out photograph.
QColor faded(const QColor& c, double keep = 0.35)
{
    return QColor(int(255 - (255 - c.red()) * keep), int(255 - (255 - c.green()) * keep),
                  int(255 - (255 - c.blue()) * keep));
}

// A shipping container seen from its doors' side: corrugated ribs, door
// bars and a dark floor line.
QPixmap containerPhoto()
{
    return pictures::kept(QStringLiteral("photo:container"), pictures::screenRatio(), [](qreal ratio) {
        const int W = 386, H = 211;
        QPixmap img = pictures::surface(QSize(W, H), ratio, faded(QColor(70, 110, 150)));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        for (int x = 0; x < W; x += 8) {
            p.fillRect(QRect(x, 12, 4, 180), faded(QColor(40, 80, 120)));
            p.fillRect(QRect(x + 4, 12, 1, 180), faded(QColor(150, 180, 210)));
        }
        p.fillRect(QRect(0, 0, W, 12), faded(QColor(50, 60, 70)));
        p.fillRect(QRect(0, 192, W, H - 192), faded(QColor(40, 40, 40)));
        p.setPen(QPen(faded(QColor(30, 30, 30)), 3));
        for (int x : {60, 120, 190, 250})
            p.drawLine(x, 14, x, 190);
        p.setPen(QPen(faded(QColor(200, 120, 40)), 2));
        p.drawRect(QRect(40, 60, 230, 40));
        p.end();
        return img;
    });
}

// Fruit piled on market stalls: rows of round fruit over awning stripes.
QPixmap fruitPhoto()
{
    return pictures::kept(QStringLiteral("photo:fruit"), pictures::screenRatio(), [](qreal ratio) {
        QPixmap img = pictures::surface(QSize(137, 202), ratio, faded(QColor(220, 200, 150)));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        for (int x = 0; x < 137; x += 20) {
            p.fillRect(QRect(x, 0, 10, 30), faded(QColor(200, 40, 40)));
            p.fillRect(QRect(x + 10, 0, 10, 30), faded(QColor(240, 240, 240)));
        }
        const QColor fruit[] = {QColor(240, 140, 20), QColor(200, 30, 30), QColor(90, 170, 40), QColor(240, 210, 40)};
        int k = 0;
        for (int y = 48; y < 202; y += 14)
            for (int x = (y / 14) % 2 ? 4 : 11; x < 137; x += 14) {
                const QColor c = fruit[(k++ / 3 + y / 28) % 4];
                QRadialGradient g(QPointF(x + 4, y - 2), 9);
                g.setColorAt(0, faded(c.lighter(140)));
                g.setColorAt(1, faded(c));
                p.setBrush(g);
                p.setPen(Qt::NoPen);
                p.drawEllipse(QPointF(x + 6, y), 6.5, 6.5);
            }
        p.fillRect(QRect(0, 118, 137, 5), faded(QColor(110, 70, 30)));
        p.end();
        return img;
    });
}

Label* legendLabel(QWidget* parent, int index, const QString& text, int left, int top, int width, int height)
{
    Label* l = place<Label>(parent, arrayName(QStringLiteral("Label7"), index), left, top, width, height);
    l->setText(text);
    l->setForeColor(vbColor(0x0000FFFF));
    l->setFont(arial(8.25, true));
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return l;
}

} // namespace

QWidget* buildConsignmentPanel(QWidget* parent)
{
    auto* panel = place<PictureBox>(parent, QStringLiteral("Picture3"), 60, 1964, 7005, 3975);
    panel->setBackColor(vbColor(0x00000000));

    auto* consignment = place<PictureBox>(panel, QStringLiteral("Picture1"), 120, 600, 4200, 3165);
    consignment->setBackColor(vbColor(0x00C0FFFF));
    consignment->setPicture(containerPhoto());
    consignment->setScaleMode(PictureBox::ScaleTwips);

    auto* destination = place<PictureBox>(panel, QStringLiteral("Picture2"), 4545, 630, 2055, 3030);
    destination->setBackColor(vbColor(0x00FFFFC0));
    destination->setPicture(fruitPhoto());
    destination->setScaleMode(PictureBox::ScalePixels);
    destination->setDrawWidth(2);

    auto* inspected = new ShapeCircle(panel, vbColor(0x00FF0000));
    inspected->setObjectName(arrayName(QStringLiteral("Shape1"), 0));
    inspected->setGeometry(twipRect(360, 150, 345, 345));
    auto* infested = new ShapeCircle(panel, vbColor(0x000000FF));
    infested->setObjectName(arrayName(QStringLiteral("Shape1"), 1));
    infested->setGeometry(twipRect(1905, 180, 255, 255));

    legendLabel(panel, 0, QStringLiteral("Inspected"), 825, 210, 930, 255);
    legendLabel(panel, 1, QStringLiteral("Infected"), 2295, 210, 810, 255);
    Label* verdict = place<Label>(panel, arrayName(QStringLiteral("Label7"), 2), 4590, 180, 1785, 360);
    verdict->setText(QStringLiteral("Consignment"));
    // Yellow as the legend, so that the design caption shows on the black panel.
    verdict->setForeColor(vbColor(0x0000FFFF));
    verdict->setFont(arial(12, true, true));
    verdict->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return panel;
}

// ---- painting ----

namespace {

// Collects marks on a layer of the picture box's size and paints the layer
// onto the box in one go (when flushed, and at the latest when it goes away,
// so that what was drawn before a failure stays).
class Layer {
public:
    explicit Layer(PictureBox* box)
        : box_(box), image_(box ? box->takeLayer() : pictures::layer(QSize(1, 1), 1))
    {
    }
    ~Layer()
    {
        flush();
        if (box_)
            box_->layDown(image_, false);
    }
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // On whole pixels and without smoothing, so that a thin line keeps its
    // colour over the picture instead of fading into two half-tone rows.
    // The grid is drawn once per geometry and laid down whole.
    void grid(const QList<float>& verticals, float height, const QList<float>& horizontals, float width,
              const QColor& c)
    {
        if (!box_)
            raise(ErrObjectRequired);
        const auto at = [&](double x, double y) { return QPoint(int(std::lround(px(x))), int(std::lround(px(y)))); };
        const QList<QLine> lines = sprites::gridLines(verticals, height, horizontals, width, at);
        sprites::stamp(image_, sprites::lines(box_->size(), c, lines, image_.devicePixelRatio()), QPointF(0, 0));
        dirty_ = true;
    }
    // Stamped from a sprite: stroking thousands of small circles one by one
    // takes longer than a frame.
    void circle(const QPointF& centre, double radius, const QColor& c)
    {
        if (!box_)
            raise(ErrObjectRequired);
        sprites::stampRing(image_, QPointF(px(centre.x()), px(centre.y())), c, px(radius), box_->drawWidth());
        dirty_ = true;
    }
    void flush()
    {
        if (dirty_ && box_) {
            box_->layDown(image_);
            image_ = box_->takeLayer();
        } else if (dirty_) {
            image_.fill(Qt::transparent);
        }
        dirty_ = false;
    }

private:
    double px(double v) const { return box_->scaleMode() == PictureBox::ScaleTwips ? v / 15.0 : v; }

    QPointer<PictureBox> box_;
    QImage image_;
    bool dirty_ = false;
};

// Lines closer than a pixel cover every pixel between them: one line per
// pixel draws the same.
QList<float> paintedLines(const QList<float>& lines, float extent)
{
    if (lines.size() < 2 || lines[1] - lines[0] >= 15.0f)
        return lines;
    QList<float> out;
    for (float x = 0.0f; x <= extent; x += 15.0f)
        out.append(x);
    return out;
}

} // namespace

bool drawConsignment(Form& frm, ErrorHandler& h)
{
    // Controls are looked up at each use: a step that failed and was ignored
    // leaves nothing half-set behind.
    const auto text = [&](int i) { return frm.ctl<QLineEdit>(QStringLiteral("Text1"), i)->text(); };
    const auto picture1 = [&] { return frm.ctl<PictureBox>(QStringLiteral("Picture1")); };
    const auto picture2 = [&] { return frm.ctl<PictureBox>(QStringLiteral("Picture2")); };
    const auto verdict = [&] { return frm.ctl<Label>(QStringLiteral("Label7"), 2); };

    // 1. A clean picture and a fresh seed.
    if (!h.step([&] { picture1()->cls(); }) || !h.step([&] { randomize(); }))
        return false;

    // 2. The size limit of the shown panel.
    int32_t N = 0;
    double prev = 0.0;
    float n = 0.0f;
    bool refusedSize = false;
    if (!h.step([&] { N = clng(numberOrLeading(text(0))); }) || !h.step([&] {
            QWidget* panel = frm.ctl(QStringLiteral("Picture3"));
            if (!panel->isHidden() && N > 5000) {
                warning(QStringLiteral("Graphical representation only for consignments less or equal 5000 units"));
                panel->hide();
                refusedSize = true;
            }
        }))
        return false;
    if (refusedSize)
        return true;
    if (!h.step([&] { prev = numberOrLeading(text(1)); }) || !h.step([&] { n = float(checked(numberOrLeading(text(2)))); }))
        return false;

    // 3-4. The cells and their lines.
    ConsignmentGrid g;
    PictureBox* pic1 = nullptr;
    if (!h.step([&] {
            pic1 = picture1();
            g = consignmentGrid(float(pic1->scaleWidth()), float(pic1->scaleHeight()), N);
        }))
        return false;
    // A prevalence that asks for more infested units than there are is
    // refused before anything is drawn, whatever the box's answer.
    int32_t nInf = 0;
    bool infestable = false;
    if (!h.step([&] { nInf = infestedCount(g, prev); }))
        return false;
    h.step([&] {
        infestable = false;
        checkInfestable(nInf, N);
        infestable = true;
    });
    if (!infestable)
        return false;
    ConsignmentDraws draws(std::max(N, 0));
    {
        Layer layer(pic1);
        if (!h.step([&] {
                picture1()->setDrawWidth(1);
                layer.grid(paintedLines(g.verticals, g.width), g.height, paintedLines(g.horizontals, g.height),
                           g.width, kGridColor);
            }))
            return false;

        // 5-6. The infested units (counted above).
        if (!h.step([&] {
                draws.startInfestation();
                randomize();
            }))
            return false;
        for (int32_t i = 0; i < nInf; ++i)
            if (!h.step([&] { layer.circle(g.centre(draws.placeInfested(rng())), g.infestedRadius(), kInfestedColor); }))
                return false;

        // 7. The sample.
        if (!h.step([&] {
                draws.startInspection();
                randomize();
            }))
            return false;
        for (double i = 1; i <= double(n); ++i)
            if (!h.step([&] {
                    layer.circle(g.centre(draws.placeInspected(rng())), g.inspectedRadius(), kInspectedColor);
                    draws.countInspected();
                }))
                return false;
    }

    // 8. The verdict.
    if (!h.step([&] {
            verdict()->setText(verdictText(false));
            verdict()->setForeColor(verdictColor(false));
        }) ||
        !h.step([&] {
            if (draws.firstHit() != 0) {
                verdict()->setText(verdictText(true));
                verdict()->setForeColor(verdictColor(true));
            }
        }))
        return false;

    // 9-10. The destination: one dot per infested unit that ingressed.
    bool refused = false;
    if (!h.step([&] {
            picture2()->cls();
            refused = verdict()->foreColor() != verdictColor(false);
        }))
        return false;
    if (refused)
        return true;
    if (!h.step([&] { randomize(); }))
        return false;
    for (int32_t i = 0; i < nInf; ++i)
        if (!h.step([&] {
                PictureBox* pic2 = picture2();
                const QPointF p = destinationDot(rng(), pic2->scaleWidth(), pic2->scaleHeight());
                pic2->circle(p.x(), p.y(), 1, kInfestedColor);
                pic2->repaint();
            }))
            return false;
    return true;
}

} // namespace tav
