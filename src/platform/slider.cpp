#include "platform/slider.h"

#include "common/runtime.h"
#include "platform/actions.h"
#include "platform/innerpart.h"

#include <QMouseEvent>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QVBoxLayout>
#include <functional>

namespace tav {

namespace {

// Reports a left-button release once the slider has handled it (a drag's
// change comes from that handling), and knows where its thumb is drawn.
class ThumbSlider : public QSlider {
public:
    explicit ThumbSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}
    std::function<void()> onRelease;

    QRect handleRect()
    {
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        return style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QSlider::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && onRelease)
            onRelease();
    }
};

void checkNotNegative(int v)
{
    if (v < 0)
        tav::raise(ErrInvalidProperty);
}

} // namespace

Slider::Slider(QWidget* parent) : QWidget(parent)
{
    auto* thumb = new ThumbSlider(this);
    slider_ = thumb;
    slider_->setObjectName(QStringLiteral("slider"));
    markInnerPart(slider_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider_);
    slider_->setRange(0, 10);
    slider_->setSingleStep(1);
    slider_->setPageStep(5);
    slider_->setTickInterval(tickFrequency_);
    slider_->setTickPosition(QSlider::TicksBelow);
    // A drag reports its change once, when the thumb is let go.
    slider_->setTracking(false);

    connect(slider_, &QSlider::valueChanged, this, &Slider::changed);
    onSignal(slider_, &QSlider::sliderMoved, this, [this] {
        // A value the program sets while the thumb is held moves the thumb
        // too; that is a change, not the user scrolling.
        if (settingValue_)
            return;
        emit scrolled();
        showTip();
    });
    onSignal(slider_, &QSlider::sliderReleased, this, [this] { hideTip(); });
    thumb->onRelease = [this] { emit clicked(); };
}

int Slider::value() const { return slider_->sliderPosition(); }

void Slider::setValue(int v)
{
    if (v < slider_->minimum() || v > slider_->maximum())
        return;
    const bool outer = !settingValue_;
    settingValue_ = true;
    const auto done = qScopeGuard([&] {
        if (outer)
            settingValue_ = false;
    });
    // The change handler's error is the setter's, as it would be called
    // directly.
    throughQt([&] { slider_->setValue(v); });
}

int Slider::min() const { return slider_->minimum(); }

void Slider::setMin(int v)
{
    setRange(qMin(v, slider_->maximum()), slider_->maximum());
}

int Slider::max() const { return slider_->maximum(); }

void Slider::setMax(int v)
{
    setRange(slider_->minimum(), qMax(v, slider_->minimum()));
}

void Slider::setRange(int min, int max)
{
    const int before = value();
    {
        // Qt would report the clamped value half-way, with only one bound set.
        const QSignalBlocker quiet(slider_);
        slider_->setRange(min, max);
    }
    if (value() != before)
        throughQt([&] { emit changed(); });
}

int Slider::smallChange() const { return slider_->singleStep(); }

void Slider::setSmallChange(int v)
{
    checkNotNegative(v);
    slider_->setSingleStep(v);
}

int Slider::largeChange() const { return slider_->pageStep(); }

void Slider::setLargeChange(int v)
{
    checkNotNegative(v);
    slider_->setPageStep(v);
}

void Slider::setTickFrequency(int n)
{
    checkNotNegative(n);
    tickFrequency_ = n;
    slider_->setTickPosition(n > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
    slider_->setTickInterval(n);
}

void Slider::setText(const QString& t)
{
    text_ = t;
    if (slider_->isSliderDown())
        showTip();
}

void Slider::showTip()
{
    if (text_.isEmpty()) {
        hideTip();
        return;
    }
    shownTip_ = text_;
    const QRect handle = static_cast<ThumbSlider*>(slider_)->handleRect();
    QToolTip::showText(slider_->mapToGlobal(handle.topRight()), shownTip_, slider_);
}

void Slider::hideTip()
{
    if (shownTip_.isEmpty())
        return;
    shownTip_.clear();
    QToolTip::hideText();
}

} // namespace tav
