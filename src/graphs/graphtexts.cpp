#include "graphs/graphtexts.h"

#include "common/colors.h"
#include "common/twips.h"
#include "common/window.h"
#include "platform/controls.h"

namespace tav {

void moveTo(FormWidget* w, const QString& name, int left, int top)
{
    if (QWidget* c = w->findChild<QWidget*>(name))
        c->move(twips(left), twips(top));
}

Label* captionLabel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                    const QString& caption)
{
    Label* l = place<Label>(parent, name, left, top, width, height);
    l->setText(caption);
    return l;
}

Label* designLabel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                   const QString& caption, double points, bool bold, bool italic, const QColor& color,
                   bool centred, bool wrap)
{
    Label* l = captionLabel(parent, name, left, top, width, height, caption);
    l->setFont(arial(points, bold, italic));
    l->setForeColor(color);
    l->setWordWrap(wrap);
    l->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    return l;
}

Label* heading(QWidget* parent, const QString& name, int left, int top, int width, int height,
               const QString& caption, bool wrap)
{
    return designLabel(parent, name, left, top, width, height, caption, 14.25, true, false, vbColor(0x00000080),
                       true, wrap);
}

Label* backHint(QWidget* parent, int left, int top, int width, int height)
{
    return designLabel(parent, QStringLiteral("Label3"), left, top, width, height,
                       QStringLiteral("Go back to choose other graph"), 8.25, true, true, vbColor(0x00C00000), true);
}

Label* commentLabel(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    return designLabel(parent, name, left, top, width, height, name, 9.75, false, false, vbColor(0x00C00000), false);
}

Label* frameCaption(QWidget* parent, const QString& name, int left, int top, int width, int height,
                    const QString& caption, bool bold)
{
    Label* l = captionLabel(parent, name, left, top, width, height, caption);
    l->setFont(arial(8.25, bold));
    l->setForeColor(vbColor(0x00800000));
    return l;
}

} // namespace tav
