#pragma once
// The program's widget style: the platform's own, with one change. The style
// keeps the pictures of sliders, combo boxes and buttons in the application's
// picture cache under the identity of the palette they were drawn with. Every
// load of a window builds its controls afresh, each with a new palette of the
// same colours, so without the change every visit would leave its pictures
// and their cache keys behind. Here equal palettes draw as one palette, and a
// control drawn again on a later visit finds its pictures.

#include <QPalette>
#include <QProxyStyle>

namespace tav {

class StablePaletteStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit StablePaletteStyle(const QString& baseKey);

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* w = nullptr) const override;
    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                     const QWidget* w = nullptr) const override;
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w = nullptr) const override;

    // The one palette that stands for every palette equal to `pal`.
    QPalette canonical(const QPalette& pal) const;

private:
    mutable QList<QPalette> palettes_;
};

// Makes StablePaletteStyle the application's style (once).
void installStyle();

} // namespace tav
