#include "graphs/graphpages.h"

#include "common/errors.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/indice.h"

namespace tav {

namespace {

constexpr uint32_t kLightYellow = 0x00C0FFFF;

PageDesign graphDesign(const QString& caption)
{
    PageDesign d;
    d.caption = caption;
    d.backColor = kLightYellow;
    d.titleBand = false; // the heading is the page's own
    return d;
}

Frame* frame(QWidget* parent, const QString& name, const QRect& r, const QString& caption)
{
    Frame* f = place<Frame>(parent, name, r.x(), r.y(), r.width(), r.height());
    f->setTitle(caption);
    f->setFont(arial(9.75, true));
    return f;
}

ImageButton* okButton(QWidget* parent, int index, int left, int top)
{
    auto* ok = place<ImageButton>(parent, arrayName(QStringLiteral("calcula"), index), left, top, 495, 405);
    ok->setPicture(pictures::word(QStringLiteral("ok"), 33, 27));
    return ok;
}

} // namespace

GraphPage::GraphPage(const QString& name, const QString& caption, GraphLayout layout)
    : ToolbarPage(name, graphDesign(caption)), layout_(std::move(layout))
{
}

void GraphPage::buildContent(FormWidget* w)
{
    QWidget* c = w->client();
    const GraphLayout& g = layout_;

    Frame* scale = frame(c, QStringLiteral("Frame1"), g.frame1, QStringLiteral("Change scale"));
    for (int i : g.text1) {
        // X min and max in the right column, Y min and max in the left one.
        const int left = i < 2 ? 1490 : 500;
        const int top = i % 2 == 0 ? 570 : 900;
        const QString name = arrayName(QStringLiteral("Text1"), i);
        if (g.text1Labels)
            place<Label>(scale, name, left, top, 825, 285)->setText(QStringLiteral("AutoScale"));
        else
            place<TextBox>(scale, name, left, top, 825, 285);
    }
    okButton(scale, 0, 1800, 1470);

    Frame* specs = frame(c, QStringLiteral("Frame2"), g.frame2,
                         g.text2 == 0 ? QStringLiteral("Consignment size") : QStringLiteral("Specifications"));
    if (g.text2 == 0)
        place<TextBox>(specs, QStringLiteral("Text2"), 285, 540, 930, 315);
    for (int i = 0; i < g.text2; ++i)
        place<TextBox>(specs, arrayName(QStringLiteral("Text2"), i), 1305, 270 + 345 * i, 930, 285);
    okButton(specs, 1, 1800, g.frame2.height() - 450);

    int below = g.frame2.y() + g.frame2.height();
    if (!g.frame3.isEmpty()) {
        Frame* axis = frame(c, QStringLiteral("Frame3"), g.frame3, QStringLiteral("Change scale"));
        place<TextBox>(axis, arrayName(QStringLiteral("Text3"), 0), 500, 570, 825, 285);
        place<TextBox>(axis, arrayName(QStringLiteral("Text3"), 1), 1490, 570, 825, 285);
        okButton(axis, 2, 1800, 840);
        below = g.frame3.y() + g.frame3.height();
    }

    // The defaults button stands between the frames where there is room.
    const int gap = g.frame2.y() - (g.frame1.y() + g.frame1.height());
    const int top = gap >= 435 ? g.frame1.y() + g.frame1.height() + (gap - 375) / 2 : below + 60;
    auto* reset = place<ImageButton>(c, QStringLiteral("Image1"), g.frame1.x() + 300, top, 1905, 375);
    reset->setPicture(pictures::word(QStringLiteral("Reset to default values"), 127, 25));
    reset->setBorderStyle(g.resetBorder ? 1 : 0);
}

void GraphPage::pageLoad()
{
    // The table is available, the chart (shown at load) is not.
    IgnoreErrors e;
    e.step([&] {
        ctl<ImageButton>(QStringLiteral("Image10"))
            ->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 2)->picture());
    });
    e.step([&] {
        ctl<ImageButton>(QStringLiteral("Image9"))
            ->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 1)->picture());
    });
    e.step([&] { ctl(QStringLiteral("Image9"))->setEnabled(false); });
}

namespace {
const QList<int> kAllScales = {0, 1, 2, 3};
}

FGrafico1::FGrafico1()
    : GraphPage(QStringLiteral("FGrafico1"), QStringLiteral("Graphic 1"),
                {QRect(105, 1980, 2615, 2040), QRect(105, 5070, 2615, 1065), QRect(), kAllScales, false, 0, false})
{
}
FGrafico2::FGrafico2()
    : GraphPage(QStringLiteral("FGrafico2"), QStringLiteral("Graphic 2"),
                {QRect(90, 1605, 2615, 2040), QRect(90, 4620, 2615, 1905), QRect(), kAllScales, false, 3, true})
{
}
FGrafico3::FGrafico3()
    : GraphPage(QStringLiteral("FGrafico3"), QStringLiteral("Graphic 3"),
                {QRect(105, 1620, 2615, 2040), QRect(135, 4710, 2615, 2010), QRect(), kAllScales, false, 3, false})
{
}
FGrafico4::FGrafico4()
    : GraphPage(QStringLiteral("FGrafico4"), QStringLiteral("Graphic 4"),
                {QRect(120, 1620, 2615, 2040), QRect(120, 4725, 2615, 1935), QRect(), kAllScales, false, 3, true})
{
}
FGrafico5::FGrafico5()
    : GraphPage(QStringLiteral("FGrafico5"), QStringLiteral("Graphic 5"),
                {QRect(120, 1620, 2615, 2040), QRect(120, 4365, 2615, 2085), QRect(), kAllScales, true, 4, true})
{
}
FGrafico6::FGrafico6()
    : GraphPage(QStringLiteral("FGrafico6"), QStringLiteral("Graphic 6"),
                {QRect(120, 1530, 2585, 2025), QRect(165, 4365, 2585, 2085), QRect(), {0, 1}, false, 4, true})
{
}
FGrafico12::FGrafico12()
    : GraphPage(QStringLiteral("FGrafico12"), QStringLiteral("Graphic 12"),
                {QRect(75, 1410, 2585, 2025), QRect(75, 3495, 2585, 2385), QRect(75, 5910, 2585, 1305), kAllScales,
                 false, 5, true})
{
}

} // namespace tav
