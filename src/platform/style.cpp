#include "platform/style.h"

#include <QApplication>
#include <QStyleOption>

namespace tav {

namespace {

// Windows use a handful of colour schemes; past this many distinct palettes
// the rest draw as they are (the style's cache then bounds them itself).
constexpr int kMaxPalettes = 128;

// Lends the option the canonical palette for the length of one drawing call.
// The option belongs to the caller's paint handler, which built it just for
// this call; its own palette comes back before the call returns.
class LentPalette {
public:
    LentPalette(const StablePaletteStyle& style, const QStyleOption* opt)
        : opt_(const_cast<QStyleOption*>(opt))
    {
        if (!opt_)
            return;
        const QPalette c = style.canonical(opt_->palette);
        if (c.cacheKey() == opt_->palette.cacheKey())
            return;
        saved_ = opt_->palette;
        opt_->palette = c;
        // The group drawn from (an inactive window's) is the option's own.
        opt_->palette.setCurrentColorGroup(saved_.currentColorGroup());
        lent_ = true;
    }
    ~LentPalette()
    {
        if (lent_)
            opt_->palette = saved_;
    }
    LentPalette(const LentPalette&) = delete;
    LentPalette& operator=(const LentPalette&) = delete;

private:
    QStyleOption* opt_;
    QPalette saved_;
    bool lent_ = false;
};

} // namespace

StablePaletteStyle::StablePaletteStyle(const QString& baseKey) : QProxyStyle(baseKey) {}

QPalette StablePaletteStyle::canonical(const QPalette& pal) const
{
    // Calls within one drawing pass the canonical palette on: look for it
    // first, then compare colours.
    for (const QPalette& known : palettes_)
        if (known.isCopyOf(pal))
            return known;
    for (const QPalette& known : palettes_)
        if (known == pal)
            return known;
    if (palettes_.size() >= kMaxPalettes)
        return pal;
    palettes_.append(pal);
    return palettes_.constLast();
}

void StablePaletteStyle::drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                                       const QWidget* w) const
{
    const LentPalette lent(*this, opt);
    QProxyStyle::drawPrimitive(pe, opt, p, w);
}

void StablePaletteStyle::drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                                     const QWidget* w) const
{
    const LentPalette lent(*this, opt);
    QProxyStyle::drawControl(ce, opt, p, w);
}

void StablePaletteStyle::drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                                            const QWidget* w) const
{
    const LentPalette lent(*this, opt);
    QProxyStyle::drawComplexControl(cc, opt, p, w);
}

void installStyle()
{
    if (qobject_cast<StablePaletteStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new StablePaletteStyle(QApplication::style()->name()));
}

} // namespace tav
