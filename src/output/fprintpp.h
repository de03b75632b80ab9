#pragma once
// The picture print set-up window: the picture in the temporary picture
// file laid out on an on-screen sheet of the chosen paper and orientation,
// at the chosen size, and printed on that paper as the sheet shows it.
// Closing it deletes the file and empties the print canvas and the staging
// pictures.

#include "common/window.h"

#include <QMargins>
#include <QPageSize>
#include <QPixmap>
#include <QRect>
#include <QRectF>
#include <optional>

namespace tav {

class ErrorHandler;

// The sheet (Picture1) and the picture on it (Image1), twips.
struct SheetLayout {
    double sheetLeft = 0, sheetTop = 0, sheetWidth = 0, sheetHeight = 0;
    double imageLeft = 0, imageTop = 0, imageWidth = 0, imageHeight = 0;
    bool operator==(const SheetLayout&) const = default;
};

struct SheetInput {
    bool landscape = false;
    float paperWidth = 210, paperHeight = 297; // mm, the smaller first
    float zoom = 1;
    float imageWidth = 0, imageHeight = 0;     // the picture's size, twips
    double windowWidth = 0, windowHeight = 0;  // twips
    double labelWidth = 870;                   // "Image Size"
};

// Lays out the sheet and the picture from `previous`: a step that cannot be
// carried out (a division by zero, a negative size) is skipped and keeps
// the previous value.
SheetLayout orientaLayout(const SheetLayout& previous, const SheetInput& in);

// A custom paper entry: width and height with the smaller first, or
// nothing when either text is not a number.
struct PaperSize {
    float width, height;
};
// Where the picture goes in a printer's printable area of this size
// (twips, from its corner): the sheet as laid out, scaled alike in both
// directions to fit the area, so the picture keeps its shape and its place
// on the sheet; empty for a sheet without size.
QRectF printedPlace(const SheetLayout& sheet, double printableWidth, double printableHeight);

std::optional<PaperSize> customPaper(const QString& widthText, const QString& heightText);

// The window's geometry inside its frame that puts the frame, of these
// margins, over the whole of the screen's available area (logical pixels).
QRect windowWithin(const QRect& available, const QMargins& frame);

class FprintPP : public Form {
    Q_OBJECT
public:
    FprintPP();

    void orienta(const QString& tipo, float wi, float he);

    // Event procedures.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Command2_Click();
    void Slider1_Change();
    void Command1_Click();
    void Cancel_Click();

    float largpapel = 210;
    float altpapel = 297;
    float zoom = 1;
    float largimagem = 0;
    float altimagem = 0;
    const SheetLayout& layout() const { return layout_; }

protected:
    void build(FormWidget* w) override;
    void formLoad() override;
    void formUnload(bool& cancel) override;
    bool centred() const override { return false; }
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void reorient();
    // Sizes the window so that with this frame it covers the screen's
    // available area.
    void fitToScreen(const QMargins& frame);
    SheetLayout layout_;
    // The paper the print asks the printer for: the sheet's, with A4 and
    // Letter by their names.
    QPageSize paperSize_{QPageSize::A4};
    QString jobName_;
    QMargins frame_; // the frame the window was last fitted with
};

FprintPP& fprintpp();

} // namespace tav
