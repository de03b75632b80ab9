#include "platform/controls.h"

#include "common/colors.h"
#include "common/window.h"
#include "platform/pictures.h"

#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

namespace tav {

QFont arial(double points, bool bold, bool italic)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QString arrayName(const QString& base, int index)
{
    return base + QLatin1Char('_') + QString::number(index);
}

namespace {

// Gives a control carrying the hand the hand drawn at the ratio of the
// screen its window moved to.
class HandAtRatio : public QObject {
public:
    static HandAtRatio& instance()
    {
        static HandAtRatio* one = new HandAtRatio(qApp);
        return *one;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (pictures::isRatioChange(e) && o->isWidgetType()) {
            auto* w = static_cast<QWidget*>(o);
            if (w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::BitmapCursor)
                w->setCursor(handCursor(pictures::ratioOf(w)));
        }
        return false;
    }

private:
    using QObject::QObject;
};

} // namespace

void setMousePointer(QWidget* w, int pointer)
{
    switch (pointer) {
    case 12: w->setCursor(Qt::ForbiddenCursor); break;
    case 99:
        w->setCursor(handCursor(pictures::ratioOf(w)));
        w->installEventFilter(&HandAtRatio::instance());
        break;
    default: w->unsetCursor(); break;
    }
}

void setHandCursor(QWidget* w) { setMousePointer(w, 99); }

// ImageButton ---------------------------------------------------------------

ImageButton::ImageButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void ImageButton::setPicture(const QPixmap& p)
{
    picture_ = p;
    update();
}

void ImageButton::setBorderStyle(int style)
{
    if (border_ == style)
        return;
    border_ = style;
    update();
}

void ImageButton::setStretch(bool on)
{
    stretch_ = on;
    update();
}

bool ImageButton::event(QEvent* e)
{
    if (pictures::isRatioChange(e))
        update(); // the picture is taken at the new ratio when painted
    return QWidget::event(e);
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!picture_.isNull()) {
        // The picture as drawn for this screen's ratio.
        picture_ = pictures::atRatio(picture_, devicePixelRatioF());
        if (stretch_) {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawPixmap(rect(), picture_);
        } else {
            p.drawPixmap(0, 0, picture_);
        }
    }
    if (border_ == 1)
        pictures::drawFrame(p, rect(), Qt::black);
}

void ImageButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        pressed_ = true;
}

void ImageButton::mouseReleaseEvent(QMouseEvent* e)
{
    const bool was = pressed_;
    pressed_ = false;
    if (was && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

// Label ---------------------------------------------------------------------

Label::Label(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::setForeColor(const QColor& c)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, c);
    setPalette(pal);
}

QColor Label::foreColor() const { return palette().color(QPalette::WindowText); }

void Label::setBackColor(const QColor& c)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, c);
    setPalette(pal);
    setAutoFillBackground(true);
}

void Label::setAutoSize(bool on)
{
    autoSize_ = on;
    if (on) {
        setWordWrap(false);
        adjustSize();
    }
}

void Label::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(e);
}

// TextBox -------------------------------------------------------------------

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) { setMouseTracking(true); }

void TextBox::setAppearance(int appearance)
{
    appearance_ = appearance;
    setFrame(true);
    setStyleSheet(QString());
    setBackColor(back_);
}

void TextBox::setBackColor(uint32_t color)
{
    back_ = color;
    const QColor c = vbColor(color);
    const QString border = appearance_ == 0 ? QStringLiteral("border: 1px solid black;")
                                            : QStringLiteral("border: 2px inset gray;");
    setStyleSheet(QStringLiteral("QLineEdit { background: %1; %2 }").arg(c.name(), border));
}

// Frame ---------------------------------------------------------------------

Frame::Frame(QWidget* parent) : QGroupBox(parent) { setMouseTracking(true); }

void Frame::setBackColor(const QColor& c)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, c);
    setPalette(pal);
    setAutoFillBackground(true);
}

// PictureBox ----------------------------------------------------------------

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void PictureBox::setPicture(const QPixmap& p)
{
    picture_ = p;
    update();
}

void PictureBox::setBackColor(const QColor& c)
{
    back_ = c;
    update();
}

double PictureBox::scaleWidth() const { return fromPx(width()); }
double PictureBox::scaleHeight() const { return fromPx(height()); }

void PictureBox::resizeEvent(QResizeEvent*) { fitDrawing(); }

bool PictureBox::event(QEvent* e)
{
    if (pictures::isRatioChange(e)) {
        fitDrawing();
        update();
    }
    return QWidget::event(e);
}

void PictureBox::fitDrawing()
{
    const qreal ratio = pictures::ratioOf(this);
    if (!drawing_.isNull() && drawing_.devicePixelRatio() == ratio
        && drawing_.size() == pictures::deviceSize(size(), ratio))
        return;
    QImage grown = pictures::layer(size(), ratio);
    if (!drawing_.isNull()) {
        QPainter p(&grown);
        p.setRenderHint(QPainter::SmoothPixmapTransform, drawing_.devicePixelRatio() != ratio);
        p.drawImage(QPointF(0, 0), drawing_);
    }
    drawing_ = grown;
}

void PictureBox::cls()
{
    if (!drawing_.isNull())
        drawing_.fill(Qt::transparent);
    currentX_ = currentY_ = 0;
    update();
}

QPainter* PictureBox::begin(QPainter& p, const QColor& color)
{
    fitDrawing();
    p.begin(&drawing_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, drawWidth_));
    return &p;
}

void PictureBox::line(double x1, double y1, double x2, double y2, const QColor& color)
{
    QPainter p;
    begin(p, color)->drawLine(QPointF(toPx(x1), toPx(y1)), QPointF(toPx(x2), toPx(y2)));
    currentX_ = x2;
    currentY_ = y2;
    update();
}

void PictureBox::circle(double x, double y, double radius, const QColor& color)
{
    QPainter p;
    const double r = toPx(radius);
    begin(p, color)->drawEllipse(QPointF(toPx(x), toPx(y)), r, r);
    currentX_ = x;
    currentY_ = y;
    update();
}

void PictureBox::pset(double x, double y, const QColor& color)
{
    QPainter p;
    begin(p, color)->drawPoint(QPointF(toPx(x), toPx(y)));
    currentX_ = x;
    currentY_ = y;
    update();
}

void PictureBox::print(const QString& text)
{
    QPainter p;
    begin(p, fore_);
    p.setFont(font());
    const QFontMetricsF fm(font());
    p.drawText(QPointF(toPx(currentX_), toPx(currentY_) + fm.ascent()), text);
    currentX_ = 0;
    currentY_ += fromPx(fm.height());
    update();
}

double PictureBox::textWidth(const QString& text) const { return fromPx(QFontMetricsF(font()).horizontalAdvance(text)); }

double PictureBox::textHeight(const QString& text) const
{
    const int lines = int(text.count(QLatin1Char('\n'))) + 1;
    return fromPx(QFontMetricsF(font()).height() * lines);
}

void PictureBox::paintPicture(const QPixmap& pm, double x, double y, double width, double height)
{
    QPainter p;
    begin(p, fore_);
    // A picture's own size is its logical size; one drawn at the drawing's
    // ratio is laid on pixel for pixel.
    const QSizeF own = pm.deviceIndependentSize();
    const QRectF target(toPx(x), toPx(y), width < 0 ? own.width() : toPx(width), height < 0 ? own.height() : toPx(height));
    if (target.size() != own || pm.devicePixelRatio() != drawing_.devicePixelRatio())
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(target, pm, QRectF(pm.rect()));
    update();
}

QImage PictureBox::takeLayer()
{
    fitDrawing();
    QImage layer = std::move(spareLayer_);
    spareLayer_ = QImage();
    if (layer.size() != drawing_.size() || layer.devicePixelRatio() != drawing_.devicePixelRatio())
        return pictures::layer(size(), drawing_.devicePixelRatio());
    layer.fill(Qt::transparent);
    return layer;
}

void PictureBox::layDown(QImage& layer, bool paint)
{
    if (paint && !layer.isNull()) {
        QPainter p;
        begin(p, fore_);
        p.drawImage(QPointF(0, 0), layer);
        update();
    }
    spareLayer_ = std::move(layer);
    layer = QImage();
}

QImage PictureBox::image() const
{
    const qreal ratio = drawing_.isNull() ? 1.0 : drawing_.devicePixelRatio();
    QImage out(pictures::deviceSize(size(), ratio), QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(back_);
    {
        QPainter p(&out);
        if (!picture_.isNull())
            p.drawPixmap(0, 0, pictures::atRatio(picture_, ratio));
        if (!drawing_.isNull())
            p.drawImage(0, 0, drawing_);
    }
    if (ratio == 1.0)
        return out;
    QImage designed = out.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    designed.setDevicePixelRatio(1.0);
    return designed;
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), back_);
    if (!picture_.isNull()) {
        picture_ = pictures::atRatio(picture_, devicePixelRatioF());
        p.drawPixmap(0, 0, picture_);
    }
    if (!drawing_.isNull())
        p.drawImage(0, 0, drawing_);
}

void BorderedPictureBox::paintEvent(QPaintEvent* e)
{
    PictureBox::paintEvent(e);
    QPainter p(this);
    pictures::drawFrame(p, rect(), Qt::black);
}

// Line ----------------------------------------------------------------------

Line::Line(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2, const QColor& color,
           int penWidth)
    : QWidget(parent), color_(color), pen_(penWidth)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPoint a(twips(x1), twips(y1)), b(twips(x2), twips(y2));
    const QRect box = QRect(a, b).normalized().adjusted(-penWidth, -penWidth, penWidth, penWidth);
    setGeometry(box);
    from_ = a - box.topLeft();
    to_ = b - box.topLeft();
}

void Line::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(color_, pen_));
    p.drawLine(from_, to_);
}

// Menus ---------------------------------------------------------------------

QMenu* addMenu(FormWidget* w, const QString& name, const QString& caption)
{
    QMenu* m = w->menuBar()->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name + QStringLiteral("_action"));
    return m;
}

QAction* addItem(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* a = new QAction(caption, menu);
    a->setObjectName(name);
    menu->addAction(a);
    return a;
}

QAction* addBarCommand(FormWidget* w, const QString& name, const QString& caption)
{
    QAction* a = new QAction(caption, w->menuBar());
    a->setObjectName(name);
    w->menuBar()->addAction(a);
    return a;
}

} // namespace tav
