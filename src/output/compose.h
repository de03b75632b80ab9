#pragma once
// A window's panel as one picture on the print canvas (Indice.Picture6):
// the pictures of its boxes, figures and fixed texts, and the captions of
// its labels, element by element, each element a step of the window's
// error box. In print mode the finished picture goes to the print set-up
// window through the temporary picture file; in save mode it stays on the
// canvas for the save command to write.

#include <QColor>
#include <QString>
#include <functional>

class QLabel;
class QWidget;

namespace tav {

class ErrorHandler;
class PictureBox;

// How a caption's colour is chosen.
enum class CaptionColor {
    Copy,             // the label's text colour
    CopyWhiteAsBlack, // the same, but white prints black
    Fixed,            // the colour given
    Current,          // the canvas's current text colour
};

// The colour a caption prints in under a rule.
QColor captionColor(const QColor& labelColor, CaptionColor rule, const QColor& fixed = QColor());

// A child's place in its panel, in twips.
struct TwipBox {
    int left = 0, top = 0, width = 0, height = 0;
};
TwipBox twipBox(const QWidget* w);

class Composer {
public:
    // `errors` runs every step (the window's print error box); `saveMode`
    // is the window's flag: the picture is only built. The canvas and the
    // staging pictures start as designed.
    Composer(ErrorHandler& errors, bool saveMode);

    // False once a step has ended the composition (Abort); every later
    // call then does nothing and returns false.
    bool alive() const { return alive_; }

    // The canvas takes this width, then this height (twips).
    bool sizeCanvas(int widthTwips, int heightTwips);
    // A staging picture takes a height, then a width (twips).
    bool sizeStaging(PictureBox* staging, int widthTwips, int heightTwips);
    // The box's image through the temporary file into the staging picture.
    bool stage(const std::function<PictureBox*()>& box, PictureBox* staging);
    // The staging picture's picture onto the canvas, scaled to the place.
    bool paintStaged(PictureBox* staging, const TwipBox& at);
    // The same at a place read when the step runs (a failure to read it
    // counts against the step).
    bool paintStaged(PictureBox* staging, const std::function<TwipBox()>& at);
    // stage() then paintStaged() at the box's place in its panel.
    bool picture(const std::function<PictureBox*()>& box, PictureBox* staging);
    // A picture file already written to the temporary file (a chart's)
    // into the staging picture.
    bool loadStaged(PictureBox* staging);

    bool drawWidth(int pixels);
    bool circle(double x, double y, double radius, const QColor& color);
    // Switches the canvas font's bold; it stays so.
    bool bold(bool on);
    // A text at (x, y) in the canvas's current font and colour.
    bool text(double x, double y, const QString& s);
    // A label's caption at its Left and Top, in its font name, size and
    // bold (not italic), in the rule's colour.
    bool caption(const std::function<QLabel*()>& label, CaptionColor rule, const QColor& fixed = QColor());

    // Save mode: deletes the temporary file. Print mode: writes the canvas
    // to the temporary file and shows the print set-up window.
    bool finish();

    // Any step of the window's own.
    bool step(const std::function<void()>& f);

private:
    ErrorHandler& errors_;
    bool save_;
    bool alive_ = true;
};

// The save command's part: with the flag at 1 the print command builds the
// picture, and the canvas is then written as a bitmap to `file` whatever
// its extension, each a step of the save command's `errors`. The flag is 0
// again however the command ends.
void saveComposed(const std::function<void(int)>& setFlag, const std::function<void()>& print, const QString& file,
                  ErrorHandler& errors);

} // namespace tav
