#pragma once
// The seven graph pages: the toolbar window with the scale frame Frame1,
// the parameters frame Frame2 (and on graph 12 a second scale frame
// Frame3), their boxes and ok buttons, and the defaults button Image1.

#include "shell/page.h"

#include <QRect>

namespace tav {

struct GraphLayout {
    QRect frame1, frame2, frame3;    // twips; frame3 empty when absent
    QList<int> text1;                // indexes of the scale boxes present
    bool text1Labels = false;        // "AutoScale" labels in their place
    int text2 = 0;                   // number of boxes, 0: one box named Text2
    bool resetBorder = false;        // Image1 designed with a single border
};

class GraphPage : public ToolbarPage {
    Q_OBJECT
public:
    GraphPage(const QString& name, const QString& caption, GraphLayout layout);
    const GraphLayout& layout() const { return layout_; }

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;

private:
    GraphLayout layout_;
};

#define TAV_GRAPH(Name)                                                                            \
    class Name : public GraphPage {                                                                \
    public:                                                                                        \
        Name();                                                                                    \
    };

TAV_GRAPH(FGrafico1)
TAV_GRAPH(FGrafico2)
TAV_GRAPH(FGrafico3)
TAV_GRAPH(FGrafico4)
TAV_GRAPH(FGrafico5)
TAV_GRAPH(FGrafico6)
TAV_GRAPH(FGrafico12)

#undef TAV_GRAPH

} // namespace tav
