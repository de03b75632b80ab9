#pragma once
// A line chart of up to five data sets, filled through its members.
//
// The members only write a plain model: NumSets and NumPoints size it,
// ThisSet and ThisPoint (from 1) choose where GraphData, LabelText (one x
// label per point, shared by the sets), LegendText and ColorData go. DrawMode 2
// draws the chart from the model in one go; DrawMode 3 takes a picture of it
// and DrawMode 6 writes that picture to ImageFile as a bitmap (".bmp" added
// to a name without an extension). GraphType 6 is a line chart, 7 the same on
// a logarithmic y axis, where points at or below zero are left out and a
// bound at or below zero gives way to the range of the positive data.
// YAxisMin and YAxisMax fix the y range; while Max is not above Min, or the
// range cannot be drawn (a span that overflows, more decades than
// kMaxLogDecades), the range follows the data. Colours are indices of the chart's 16-colour palette
// (chartColor), the Background among them.

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>
#include <vector>

class QCategoryAxis;
class QChart;
class QGraphicsItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QChartView;
class QLineSeries;
class QLogValueAxis;
class QValueAxis;

namespace tav {

// The palette: 0 black, 1 blue, 2 green, 3 cyan, 4 dark red, 5 purple,
// 6 olive, 7 light grey, 8 grey, 9 light blue, 10 light green, 11 light cyan,
// 12 red, 13 pink, 14 yellow, 15 white.
QColor chartColor(int index);

class Chart : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxSets = 5;
    static constexpr int kMaxPoints = 10000;
    // A logarithmic axis spans at most this many decades: one label and one
    // grid line per decade, and past about thirty the labels of a chart this
    // size run into each other (while the layout's work keeps growing), so a
    // wider range says nothing more. Bounds beyond it follow the data.
    static constexpr int kMaxLogDecades = 30;

    explicit Chart(QWidget* parent = nullptr);

    // 9 clears every set's points, the labels, legends and colours.
    void setDataReset(int what);

    int graphType() const { return graphType_; }
    void setGraphType(int type);
    double yAxisMin() const { return yMin_; }
    void setYAxisMin(double v);
    double yAxisMax() const { return yMax_; }
    void setYAxisMax(double v);

    int numSets() const { return numSets_; }
    void setNumSets(int n);
    int numPoints() const { return numPoints_; }
    void setNumPoints(int n);
    int thisSet() const { return thisSet_; }
    void setThisSet(int s);
    int thisPoint() const { return thisPoint_; }
    void setThisPoint(int p);

    double graphData() const;
    void setGraphData(double v);
    QString labelText() const;
    void setLabelText(const QString& t);
    QString legendText() const;
    void setLegendText(const QString& t);
    int colorData() const;
    void setColorData(int index);

    // Every n-th x label and tick is drawn, from the first point; LabelEvery
    // keeps what was written, fraction and all.
    double labelEvery() const { return labelEvery_; }
    void setLabelEvery(double n);
    int tickEvery() const { return tickEvery_; }
    void setTickEvery(int n);

    QString graphTitle() const { return graphTitle_; }
    void setGraphTitle(const QString& t) { graphTitle_ = t; }
    QString leftTitle() const { return leftTitle_; }
    void setLeftTitle(const QString& t) { leftTitle_ = t; }
    QString bottomTitle() const { return bottomTitle_; }
    void setBottomTitle(const QString& t) { bottomTitle_ = t; }

    int drawMode() const { return drawMode_; }
    void setDrawMode(int mode);
    int background() const { return background_; }
    void setBackground(int index);
    QString imageFile() const { return imageFile_; }
    void setImageFile(const QString& name) { imageFile_ = name; }
    // Redraws now from the model.
    void refresh();

    int widthTwips() const;
    void setWidthTwips(int twips);
    int heightTwips() const;
    void setHeightTwips(int twips);

    // The chart as drawn now, at the control's size, shown or hidden.
    QImage image();
    // The drawn x labels (point number and text) and the drawn ticks.
    QList<QPair<int, QString>> xLabels() const;
    QList<int> xTicks() const;
    // Where the legend stands in the chart, empty without one.
    QRectF legendArea() const;
    // The scene (for tests): owned by the view.
    QChart* chart() const { return chart_; }
    QChartView* view() const { return view_; }

private:
    void draw();
    void applyBackground();
    void layoutLegend();
    void writeImage();
    int labelStep() const;
    int tickStep() const;

    // The scene keeps one series per set and its axes for the control's
    // life: the chart deletes what it drops only on the event loop, so
    // items rebuilt at every draw would pile up within one handler.
    QChartView* view_;
    QChart* chart_;
    QCategoryAxis* xAxis_;
    QValueAxis* linearAxis_;
    QLogValueAxis* logAxis_;
    QLineSeries* series_[kMaxSets];
    QGraphicsItem* lines_; // the sets' lines as drawn
    bool drawnLogarithmic_ = false;
    // The legend under the plot, in as many rows as its entries need: the
    // chart's own legend keeps one row and shortens entries that do not fit.
    struct LegendEntry {
        QString text;
        QColor color;
    };
    QList<LegendEntry> drawnLegend_;
    QGraphicsRectItem* legendMarks_[kMaxSets];
    QGraphicsSimpleTextItem* legendTexts_[kMaxSets];

    int graphType_ = 6;
    double yMin_ = 0;
    double yMax_ = 0;
    int numSets_ = 1;
    int numPoints_ = 5;
    int thisSet_ = 1;
    int thisPoint_ = 1;
    std::vector<double> values_[kMaxSets]; // numPoints_ each
    std::vector<QString> labels_;
    QString legends_[kMaxSets];
    int colors_[kMaxSets];
    double labelEvery_ = 1;
    int tickEvery_ = 1;
    QString graphTitle_, leftTitle_, bottomTitle_;
    int drawMode_ = 2;
    int background_ = 0;
    QString imageFile_;
    QImage picture_; // taken by DrawMode 3, written by DrawMode 6
    int drawnLabelStep_ = 1;
};

} // namespace tav
