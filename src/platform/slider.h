#pragma once
// A horizontal slider with a whole-number position.
//
// Notices: changed() whenever the value changes, whether the user moved it
// (arrow keys, a click on the track, the end of a drag) or the program set
// it; scrolled() while the thumb is dragged, when the handler may set the tip
// text shown beside the thumb; clicked() after a left-button release on the
// slider, so after the change that the click made.
//
// A value outside Min..Max is refused: the slider stays and no notice comes.
// Moving a bound past the value drags the value along, and that move is a
// change like any other: changed() comes once the new range is in place, so
// whatever follows the slider (captions, boxes, a model) follows it there
// too. A bound never crosses the other: it stops at it.

#include <QString>
#include <QWidget>

class QSlider;

namespace tav {

class Slider : public QWidget {
    Q_OBJECT
public:
    explicit Slider(QWidget* parent = nullptr);

    // While the thumb is dragged, the place it is dragged to.
    int value() const;
    void setValue(int v);
    int min() const;
    void setMin(int v);
    int max() const;
    void setMax(int v);
    int smallChange() const;
    void setSmallChange(int v);
    int largeChange() const;
    void setLargeChange(int v);
    // Ticks every n positions; 0 draws none.
    int tickFrequency() const { return tickFrequency_; }
    void setTickFrequency(int n);

    // The tip shown while dragging.
    QString text() const { return text_; }
    void setText(const QString& t);
    // The tip in sight now ("" when none is shown).
    QString shownTip() const { return shownTip_; }

    // The slider widget inside (for tests).
    QSlider* slider() const { return slider_; }

signals:
    void changed();
    void scrolled();
    void clicked();

private:
    void showTip();
    void hideTip();
    void setRange(int min, int max);

    QSlider* slider_;
    int tickFrequency_ = 1;
    bool settingValue_ = false;
    QString text_;
    QString shownTip_;
};

} // namespace tav
