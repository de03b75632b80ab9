#include "platform/chart.h"

#include "common/runtime.h"
#include "common/safefile.h"
#include "common/twips.h"
#include "platform/actions.h"
#include "platform/busy.h"
#include "platform/innerpart.h"

#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tav {

namespace {

constexpr int kErrFileAccess = 75;

const QRgb kPalette[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

// Colours of the sets before the program gives them their own.
const int kDefaultColors[Chart::kMaxSets] = {9, 12, 10, 13, 14};

void invalid() { tav::raise(ErrInvalidProperty); }

void checkFinite(double v)
{
    if (!std::isfinite(v))
        invalid();
}

// The category axis keys its labels by text and drops repeats; an invisible
// suffix that spells the point number in zero-width characters keeps every
// label distinct while it looks the same.
const QChar kZero(0x200B), kOne(0x2060);

QString distinct(const QString& label, int point)
{
    QString out = label;
    for (unsigned n = unsigned(point); n; n >>= 1)
        out += (n & 1) ? kOne : kZero;
    return out;
}

QString visible(QString label)
{
    label.remove(kZero);
    label.remove(kOne);
    return label;
}

// Every n-th of count items; n from a value that may be fractional, zero,
// negative or huge.
int stepOf(double n, int count)
{
    if (!(n >= 1.5))
        return 1;
    if (n >= count)
        return qMax(1, count);
    return int(std::floor(n + 0.5));
}

// Axis bounds. The chart library lays an axis out from its bounds alone:
// a bound that is not finite, a span that overflows or a logarithmic axis
// over hundreds of decades never finishes (or shows "inf"), so an axis only
// ever gets a range it can draw.

bool linearFits(double bottom, double top)
{
    if (!std::isfinite(bottom) || !std::isfinite(top) || !(top > bottom) || !std::isfinite(top - bottom))
        return false;
    // The ticks must be numbers apart, not the same value printed five times.
    return top - bottom > std::max(std::fabs(bottom), std::fabs(top)) * 1e-12;
}

bool logFits(double bottom, double top)
{
    return bottom > 0 && std::isfinite(top) && top > bottom
        && std::log10(top) - std::log10(bottom) <= Chart::kMaxLogDecades
        && top / bottom > 1.0 + 1e-12;
}

// A range from 0 that shows a value too large for a unit above it.
std::pair<double, double> fromZero(double v)
{
    const double far = std::isfinite(2 * v) ? 2 * v : v;
    return v < 0 ? std::pair{far, 0.0} : std::pair{0.0, std::max(far, 1.0)};
}

std::pair<double, double> linearRange(double yMin, double yMax, bool any, double lo, double hi)
{
    if (linearFits(yMin, yMax))
        return {yMin, yMax};
    // Else the data's range.
    if (!any)
        return {0.0, 1.0};
    if (linearFits(lo, hi))
        return {lo, hi};
    if (!std::isfinite(hi - lo)) {
        // Data at both ends of the number range: the middle of it.
        const double half = std::numeric_limits<double>::max() / 2;
        return {std::max(lo, -half), std::min(hi, half)};
    }
    if (linearFits(lo, lo + 1))
        return {lo, lo + 1};
    return fromZero(lo);
}

std::pair<double, double> logRange(double bottom, double top, bool any, double lo, double hi)
{
    if (logFits(bottom, top))
        return {bottom, top};
    // Else the data's positive range (only positive points are drawn), one
    // decade for a single value, and at most the top kMaxLogDecades of it.
    if (!any)
        return {1.0, 10.0};
    const double maxDecade = std::numeric_limits<double>::max() / 10;
    if (!(hi > lo) || hi / lo <= 1.0 + 1e-12)
        return hi <= maxDecade ? std::pair{lo, lo * 10} : std::pair{hi / 10, hi};
    if (logFits(lo, hi))
        return {lo, hi};
    return {hi / std::pow(10.0, Chart::kMaxLogDecades), hi};
}

// The sets' lines, drawn segment by segment in each series' pen as the
// series draw themselves, but one call per set: the series' own drawing
// goes through the painter once per segment, which costs most of a frame
// at a high device pixel ratio. The series stay (fully transparent) for
// their points, pens and axes.
class SetLines : public QGraphicsItem {
public:
    SetLines(QChart* chart, QLineSeries* const* series) : QGraphicsItem(chart), chart_(chart), series_(series)
    {
        // Above the grid and the axes, as the series stand.
        setZValue(4.5);
        setData(0, QStringLiteral("set lines"));
        area_ = chart->plotArea();
    }

    void setArea(const QRectF& area)
    {
        prepareGeometryChange();
        area_ = area;
    }

    QRectF boundingRect() const override { return area_.adjusted(-1, -1, 1, 1); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        if (area_.isEmpty())
            return;
        painter->save();
        // The plot area, widened to whole pixels at its far edges so that a
        // line along an edge still shows, never past them.
        const double x1 = area_.left() - int(area_.left()), y1 = area_.top() - int(area_.top());
        const double x2 = (area_.width() + 0.5) - int(area_.width() + 0.5);
        const double y2 = (area_.height() + 0.5) - int(area_.height() + 0.5);
        painter->setClipRect(area_.adjusted(-x1, -y1, std::max(x1, x2), std::max(y1, y2)));
        painter->setBrush(Qt::NoBrush);
        // A point far off the plot is drawn as if nearer: the part of its
        // segment inside the plot stays where it is (to a fraction of a
        // pixel), and the rasterizer never meets a coordinate out of range.
        const double far = 1e6;
        const double top = area_.top() - far, bottom = area_.bottom() + far;
        const double left = area_.left() - far, right = area_.right() + far;
        for (int s = 0; s < Chart::kMaxSets; ++s) {
            QLineSeries* series = series_[s];
            if (!series->isVisible() || series->count() < 2)
                continue;
            const QList<QPointF> points = series->points();
            segments_.resize(points.size() - 1);
            QPointF last;
            for (qsizetype i = 0; i < points.size(); ++i) {
                const QPointF at = chart_->mapToPosition(points[i], series);
                const QPointF p(std::clamp(at.x(), left, right), std::clamp(at.y(), top, bottom));
                if (i > 0)
                    segments_[i - 1] = QLineF(last, p);
                last = p;
            }
            painter->setPen(series->pen());
            painter->drawLines(segments_);
        }
        painter->restore();
    }

private:
    QChart* chart_;
    QLineSeries* const* series_;
    QRectF area_;
    QList<QLineF> segments_;
};

} // namespace

QColor chartColor(int index) { return QColor(kPalette[index & 15]); }

Chart::Chart(QWidget* parent) : QWidget(parent), view_(nullptr), chart_(new QChart())
{
    // The view owns the chart from here on. It is given the chart when it is
    // made: a view made without one makes its own, and a chart set later
    // only casts that one off, never to be deleted.
    view_ = new QChartView(chart_, this);
    view_->setObjectName(QStringLiteral("view"));
    markInnerPart(view_);
    view_->setFrameShape(QFrame::NoFrame);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    chart_->setBackgroundRoundness(0);
    // Room on the right for half of the last x label.
    chart_->setMargins(QMargins(4, 4, 24, 4));
    chart_->legend()->setVisible(false);
    for (int s = 0; s < kMaxSets; ++s) {
        legendMarks_[s] = new QGraphicsRectItem(chart_);
        legendTexts_[s] = new QGraphicsSimpleTextItem(chart_);
        legendMarks_[s]->setVisible(false);
        legendTexts_[s]->setVisible(false);
    }
    onSignal(chart_, &QGraphicsWidget::geometryChanged, this, [this] { layoutLegend(); });

    xAxis_ = new QCategoryAxis();
    xAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    xAxis_->setStartValue(1);
    // Labels are spaced by LabelEvery; shortening them would only hide them.
    xAxis_->setTruncateLabels(false);
    linearAxis_ = new QValueAxis();
    linearAxis_->setLabelFormat(QStringLiteral("%g"));
    logAxis_ = new QLogValueAxis();
    logAxis_->setBase(10);
    logAxis_->setLabelFormat(QStringLiteral("%g"));
    logAxis_->setVisible(false);
    chart_->addAxis(xAxis_, Qt::AlignBottom);
    chart_->addAxis(linearAxis_, Qt::AlignLeft);
    chart_->addAxis(logAxis_, Qt::AlignLeft);
    for (QLineSeries*& line : series_) {
        line = new QLineSeries();
        chart_->addSeries(line);
        line->attachAxis(xAxis_);
        line->attachAxis(linearAxis_);
        line->setOpacity(0);
    }
    auto* lines = new SetLines(chart_, series_);
    lines_ = lines;
    onSignal(chart_, &QChart::plotAreaChanged, this, [lines](const QRectF& area) { lines->setArea(area); });
    std::copy(std::begin(kDefaultColors), std::end(kDefaultColors), colors_);
    for (auto& v : values_)
        v.assign(numPoints_, 0.0);
    labels_.assign(numPoints_, QString());
    draw();
}

void Chart::setDataReset(int what)
{
    if (what != 9)
        invalid();
    for (auto& v : values_)
        std::fill(v.begin(), v.end(), 0.0);
    std::fill(labels_.begin(), labels_.end(), QString());
    for (QString& l : legends_)
        l.clear();
    std::copy(std::begin(kDefaultColors), std::end(kDefaultColors), colors_);
    thisSet_ = 1;
    thisPoint_ = 1;
}

void Chart::setGraphType(int type)
{
    if (type != 6 && type != 7)
        invalid();
    graphType_ = type;
}

void Chart::setYAxisMin(double v)
{
    checkFinite(v);
    yMin_ = v;
}

void Chart::setYAxisMax(double v)
{
    checkFinite(v);
    yMax_ = v;
}

void Chart::setNumSets(int n)
{
    if (n < 1 || n > kMaxSets)
        invalid();
    numSets_ = n;
    thisSet_ = qMin(thisSet_, n);
}

void Chart::setNumPoints(int n)
{
    if (n < 1 || n > kMaxPoints)
        invalid();
    numPoints_ = n;
    for (auto& v : values_)
        v.resize(n, 0.0);
    labels_.resize(n);
    thisPoint_ = qMin(thisPoint_, n);
}

void Chart::setThisSet(int s)
{
    if (s < 1 || s > numSets_)
        invalid();
    thisSet_ = s;
}

void Chart::setThisPoint(int p)
{
    if (p < 1 || p > numPoints_)
        invalid();
    thisPoint_ = p;
}

double Chart::graphData() const { return values_[thisSet_ - 1][thisPoint_ - 1]; }

void Chart::setGraphData(double v)
{
    checkFinite(v);
    values_[thisSet_ - 1][thisPoint_ - 1] = v;
}

QString Chart::labelText() const { return labels_[thisPoint_ - 1]; }

void Chart::setLabelText(const QString& t) { labels_[thisPoint_ - 1] = t; }

QString Chart::legendText() const { return legends_[thisSet_ - 1]; }

void Chart::setLegendText(const QString& t) { legends_[thisSet_ - 1] = t; }

int Chart::colorData() const { return colors_[thisSet_ - 1]; }

void Chart::setColorData(int index)
{
    if (index < 0 || index > 15)
        invalid();
    colors_[thisSet_ - 1] = index;
}

void Chart::setLabelEvery(double n)
{
    checkFinite(n);
    labelEvery_ = n;
}

void Chart::setTickEvery(int n) { tickEvery_ = n; }

int Chart::labelStep() const { return stepOf(labelEvery_, numPoints_); }

int Chart::tickStep() const { return stepOf(tickEvery_, numPoints_); }

void Chart::setDrawMode(int mode)
{
    switch (mode) {
    case 2: draw(); break;
    case 3: picture_ = image(); break;
    case 6: writeImage(); break;
    default: invalid();
    }
    drawMode_ = mode;
}

void Chart::setBackground(int index)
{
    if (index < 0 || index > 15)
        invalid();
    background_ = index;
    applyBackground();
    layoutLegend();
}

void Chart::refresh()
{
    draw();
    view_->viewport()->update();
}

int Chart::widthTwips() const { return pixelsToTwips(width()); }

void Chart::setWidthTwips(int tw)
{
    if (tw < 0)
        invalid();
    resize(twips(tw), height());
}

int Chart::heightTwips() const { return pixelsToTwips(height()); }

void Chart::setHeightTwips(int tw)
{
    if (tw < 0)
        invalid();
    resize(width(), twips(tw));
}

void Chart::draw()
{
    const bool logarithmic = graphType_ == 7;
    if (logarithmic != drawnLogarithmic_) {
        QAbstractAxis* from = drawnLogarithmic_ ? static_cast<QAbstractAxis*>(logAxis_) : linearAxis_;
        QAbstractAxis* to = logarithmic ? static_cast<QAbstractAxis*>(logAxis_) : linearAxis_;
        // Empty the sets first: a logarithmic axis must never meet a point
        // at or below zero.
        for (QLineSeries* line : series_) {
            line->clear();
            line->detachAxis(from);
            line->attachAxis(to);
        }
        from->setVisible(false);
        to->setVisible(true);
        drawnLogarithmic_ = logarithmic;
    }

    double lo = 0, hi = 0; // range of the data drawn
    bool any = false;
    drawnLegend_.clear();
    for (int s = 0; s < kMaxSets; ++s) {
        QLineSeries* line = series_[s];
        const bool used = s < numSets_;
        QList<QPointF> points;
        if (used) {
            points.reserve(numPoints_);
            for (int p = 0; p < numPoints_; ++p) {
                const double y = values_[s][p];
                // One point at or below zero would make the logarithmic axis
                // drop the whole set.
                if (logarithmic && !(y > 0))
                    continue;
                points.append(QPointF(p + 1, y));
                lo = any ? qMin(lo, y) : y;
                hi = any ? qMax(hi, y) : y;
                any = true;
            }
        }
        line->replace(points);
        line->setName(used ? legends_[s] : QString());
        QPen pen(chartColor(colors_[s]));
        pen.setWidth(2);
        line->setPen(pen);
        line->setVisible(used);
        if (used && !legends_[s].isEmpty())
            drawnLegend_.append({legends_[s], chartColor(colors_[s])});
    }

    // The category axis is emptied and filled again: it has no call that
    // replaces its categories at once.
    for (const QString& key : xAxis_->categoriesLabels())
        xAxis_->remove(key);
    const int labelStep = this->labelStep(), tickStep = this->tickStep();
    drawnLabelStep_ = labelStep;
    for (int p = 1; p <= numPoints_; ++p) {
        const bool label = (p - 1) % labelStep == 0;
        if (label || (p - 1) % tickStep == 0)
            xAxis_->append(distinct(label ? labels_[p - 1] : QString(), p), p);
    }
    if (numPoints_ > 1)
        xAxis_->setRange(1, numPoints_);
    else
        xAxis_->setRange(0.5, 1.5);
    xAxis_->setTitleText(bottomTitle_);

    if (logarithmic) {
        // The axis refuses bounds at or below zero: those follow the data.
        double bottom = yMin_ > 0 ? yMin_ : (any ? lo : 1);
        double top = yMax_ > 0 ? yMax_ : (any ? hi : bottom * 10);
        if (!(top > bottom))
            top = any && hi > bottom ? hi : bottom * 10;
        const auto [b, t] = logRange(bottom, top, any, lo, hi);
        logAxis_->setRange(b, t);
        logAxis_->setTitleText(leftTitle_);
    } else {
        const auto [b, t] = linearRange(yMin_, yMax_, any, lo, hi);
        linearAxis_->setRange(b, t);
        linearAxis_->setTitleText(leftTitle_);
    }
    chart_->setTitle(graphTitle_);
    applyBackground();
    layoutLegend();
    lines_->update();
}

void Chart::layoutLegend()
{
    const QFont font = chart_->legend()->font();
    const QFontMetricsF fm(font);
    const double mark = std::round(fm.height() * 0.6), gap = 5, spacing = 16, rowHeight = std::ceil(fm.height()) + 2;
    const double width = std::max(1.0, chart_->size().width() - 16);
    // Entries flow left to right and take a new row where the next one
    // would pass the edge; each row is centred.
    struct Place {
        double x, w;
        int row;
    };
    QList<Place> places;
    QList<double> rowWidths;
    double x = 0;
    for (const LegendEntry& e : drawnLegend_) {
        const double w = mark + gap + fm.horizontalAdvance(e.text);
        if (places.isEmpty() || (x > 0 && x + w > width)) {
            rowWidths.append(0);
            x = 0;
        }
        places.append({x, w, int(rowWidths.size()) - 1});
        rowWidths.last() = x + w;
        x += w + spacing;
    }
    const double height = rowWidths.isEmpty() ? 0 : rowWidths.size() * rowHeight + 8;
    chart_->setMargins(QMargins(4, 4, 24, 4 + int(std::ceil(height))));
    // The rows stand in the bottom margin, above its last 4 pixels.
    const double top = chart_->size().height() - height;
    const QColor ink = chartColor(chartColor(background_).lightness() < 128 ? 15 : 0);
    for (int s = 0; s < kMaxSets; ++s) {
        const bool shown = s < places.size();
        legendMarks_[s]->setVisible(shown);
        legendTexts_[s]->setVisible(shown);
        if (!shown)
            continue;
        const Place& p = places[s];
        const double left = 8 + (width - rowWidths[p.row]) / 2 + p.x, y = top + p.row * rowHeight;
        legendMarks_[s]->setRect(0, 0, mark, mark);
        legendMarks_[s]->setPos(left, y + (fm.height() - mark) / 2);
        legendMarks_[s]->setBrush(drawnLegend_[s].color);
        legendMarks_[s]->setPen(QPen(drawnLegend_[s].color.darker(130), 1));
        legendTexts_[s]->setText(drawnLegend_[s].text);
        legendTexts_[s]->setFont(font);
        legendTexts_[s]->setBrush(ink);
        legendTexts_[s]->setPos(left + mark + gap, y);
    }
}

QRectF Chart::legendArea() const
{
    QRectF area;
    for (int s = 0; s < kMaxSets; ++s)
        if (legendTexts_[s]->isVisible())
            area |= legendMarks_[s]->mapRectToParent(legendMarks_[s]->rect())
                | legendTexts_[s]->mapRectToParent(legendTexts_[s]->boundingRect());
    return area;
}

void Chart::applyBackground()
{
    const QColor back = chartColor(background_);
    const bool dark = back.lightness() < 128;
    const QColor ink = dark ? chartColor(15) : chartColor(0);
    const QColor grid = dark ? chartColor(8) : chartColor(7);
    chart_->setBackgroundBrush(back);
    chart_->setPlotAreaBackgroundVisible(false);
    chart_->setTitleBrush(ink);
    view_->setBackgroundBrush(back);
    for (QAbstractAxis* a : chart_->axes()) {
        a->setLabelsColor(ink);
        a->setTitleBrush(ink);
        a->setLinePenColor(ink);
        a->setGridLineColor(grid);
    }
}

QImage Chart::image()
{
    // Through the scene at the control's own size: the view is not laid out
    // while the control is hidden.
    const QSize size = this->size().expandedTo(QSize(1, 1));
    chart_->resize(size);
    // The chart and its legend lay themselves out on the event loop; a
    // picture taken right after a draw needs that done now.
    for (QGraphicsWidget* w : {static_cast<QGraphicsWidget*>(chart_), static_cast<QGraphicsWidget*>(chart_->legend())})
        if (QGraphicsLayout* l = w->layout())
            l->activate();
    QImage img(size, QImage::Format_RGB32);
    img.fill(chartColor(background_));
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    chart_->scene()->render(&painter, QRectF(QPointF(0, 0), size), QRectF(chart_->pos(), size));
    return img;
}

void Chart::writeImage()
{
    QString name = imageFile_;
    if (name.isEmpty())
        throw RuntimeError(kErrFileAccess, QStringLiteral("Path/File access error"));
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".bmp");
    BusyCursor busy;
    const QImage img = picture_.isNull() ? image() : picture_;
    picture_ = QImage();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, "BMP"))
        throw RuntimeError(kErrFileAccess, QStringLiteral("Path/File access error"));
    // Written whole or not at all, the old file kept on failure.
    busy.progress();
    writeFileWhole(name, bytes);
}

QList<QPair<int, QString>> Chart::xLabels() const
{
    QList<QPair<int, QString>> out;
    for (const QString& key : xAxis_->categoriesLabels()) {
        const int p = int(xAxis_->endValue(key));
        if ((p - 1) % drawnLabelStep_ == 0)
            out.append({p, visible(key)});
    }
    return out;
}

QList<int> Chart::xTicks() const
{
    QList<int> out;
    for (const QString& key : xAxis_->categoriesLabels())
        out.append(int(xAxis_->endValue(key)));
    return out;
}

} // namespace tav
