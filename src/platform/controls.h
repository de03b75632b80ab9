#pragma once
// Our layer over Qt for the window system's standard controls: picture
// buttons, labels, text boxes, frames, option buttons, picture boxes and
// menus, placed in twips and named for lookup.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <cstdint>

namespace tav {

class FormWidget;

// Arial, mapped to the metric-compatible Liberation Sans.
QFont arial(double points, bool bold = false, bool italic = false);

// Names an array element the way controls are looked up: "Text1_0".
QString arrayName(const QString& base, int index);

// Mouse pointers: 0 default, 12 no-drop, 99 custom (the hand cursor, set
// again at the new ratio when the window moves to another screen).
void setMousePointer(QWidget* w, int pointer);
// The hand cursor from the start page's store on a clickable control.
void setHandCursor(QWidget* w);

// An image control that takes clicks: a picture, a tooltip, never the focus,
// BorderStyle 0 (none) or 1 (a thin single line).
class ImageButton : public QWidget {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);
    void setPicture(const QPixmap& p);
    const QPixmap& picture() const { return picture_; }
    void setBorderStyle(int style);
    int borderStyle() const { return border_; }
    // Stretch the picture to the control (else it shows at its own size).
    void setStretch(bool on);

signals:
    void clicked();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
    int border_ = 0;
    bool stretch_ = false;
    bool pressed_ = false;
};

// A label that reports clicks; transparent unless given a back colour.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);
    void setForeColor(const QColor& c);
    QColor foreColor() const;
    void setBackColor(const QColor& c); // opaque background
    // Grows or shrinks to its text (the AutoSize of the design).
    void setAutoSize(bool on);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool autoSize_ = false;
};

// A single-line text box with the two looks of the design: flat (0) or
// three-dimensional (1), and a back colour.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    void setAppearance(int appearance);
    int appearance() const { return appearance_; }
    void setBackColor(uint32_t vbColor);
    uint32_t backColor() const { return back_; }

private:
    int appearance_ = 1;
    uint32_t back_ = 0x80000005u;
};

// A frame (group box) with or without caption.
class Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(QWidget* parent = nullptr);
    void setBackColor(const QColor& c);
};

// A picture box: a background picture and a drawing surface that keeps what
// is drawn on it, shown or hidden (what the print and save paths take).
// Coordinates are in its scale: twips (1) or pixels (3).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    enum Scale { ScaleTwips = 1, ScalePixels = 3 };

    explicit PictureBox(QWidget* parent = nullptr);
    void setPicture(const QPixmap& p);
    const QPixmap& picture() const { return picture_; }
    void setBackColor(const QColor& c);
    QColor backColor() const { return back_; }
    void setForeColor(const QColor& c) { fore_ = c; }
    QColor foreColor() const { return fore_; }

    void setScaleMode(int mode) { scale_ = mode; }
    int scaleMode() const { return scale_; }
    // The inner size in the box's scale.
    double scaleWidth() const;
    double scaleHeight() const;
    void setDrawWidth(int pixels) { drawWidth_ = pixels; }
    int drawWidth() const { return drawWidth_; }
    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }

    // Removes what was drawn; the background picture stays.
    void cls();
    void line(double x1, double y1, double x2, double y2, const QColor& color);
    // An outline circle by centre and radius.
    void circle(double x, double y, double radius, const QColor& color);
    void pset(double x, double y, const QColor& color);
    // Text at the current position in the box's font and fore colour; the
    // position then moves to the start of the next line.
    void print(const QString& text);
    double textWidth(const QString& text) const;
    double textHeight(const QString& text) const;
    // Paints a picture onto the drawing at (x, y), at its size or stretched.
    void paintPicture(const QPixmap& p, double x, double y, double width = -1, double height = -1);
    // A clear layer of the drawing's size and ratio, for marks stamped on it
    // and laid onto the drawing at once (layDown, which paints it unless
    // told not to). The layer's memory goes back to the box and comes out
    // again for the next: at twice the ratio a fresh layer a stroke would
    // cost more than the marks.
    QImage takeLayer();
    void layDown(QImage& layer, bool paint = true);
    // Background, picture and drawing as one image, at the box's size in
    // logical pixels (the designed size), reduced smoothly from the screen's
    // resolution.
    QImage image() const;
    // What was drawn, as kept: device pixels at the ratio of the box's screen.
    const QImage& drawing() const { return drawing_; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    double toPx(double v) const { return scale_ == ScaleTwips ? v / 15.0 : v; }
    double fromPx(double v) const { return scale_ == ScaleTwips ? v * 15.0 : v; }
    QPainter* begin(QPainter& p, const QColor& color);
    // The drawing at the box's size and its screen's ratio: what was drawn
    // at another size or ratio is carried over.
    void fitDrawing();

    QPixmap picture_;
    QImage drawing_; // device pixels, at the ratio of the box's screen
    QImage spareLayer_;
    QColor back_ = Qt::white;
    QColor fore_ = Qt::black;
    int scale_ = ScaleTwips;
    int drawWidth_ = 1;
    double currentX_ = 0, currentY_ = 0;
};

// A picture box with a thin single-line border (BorderStyle 1 of the
// design), laid on whole device pixels so that it shows at every ratio.
class BorderedPictureBox : public PictureBox {
    Q_OBJECT
public:
    using PictureBox::PictureBox;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// A line control: from (x1, y1) to (x2, y2) in its container, in twips.
class Line : public QWidget {
    Q_OBJECT
public:
    Line(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2, const QColor& color,
         int penWidth = 1);
    QColor color() const { return color_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPoint from_, to_;
    QColor color_;
    int pen_;
};

// Places a new control: name, parent, twip rectangle.
template <class T>
T* place(QWidget* parent, const QString& name, int left, int top, int width, int height);

// Menus: a top menu, an item in it, a command on the bar itself.
QMenu* addMenu(FormWidget* w, const QString& name, const QString& caption);
QAction* addItem(QMenu* menu, const QString& name, const QString& caption);
QAction* addBarCommand(FormWidget* w, const QString& name, const QString& caption);

} // namespace tav

#include "platform/controls_impl.h"
