#pragma once
// The start page's hidden pictures as the print paths use them, and picture
// files: loading and writing bitmaps with the platform's errors.

#include <QImage>
#include <QPixmap>
#include <QString>

namespace tav {

class PictureBox;

// Indice.Picture6, the print canvas; Picture4 and Picture5, the staging
// pictures.
PictureBox* canvas();
PictureBox* stagingPicture();
PictureBox* secondStagingPicture();

// Empties a picture box: its picture and what was drawn on it.
void emptyPicture(PictureBox* box);
// The print canvas and both staging pictures as designed: their design
// size, a white background, no picture and nothing drawn. Every
// composition and capture starts from here, so that nothing of an earlier
// one shows through.
void resetPrintPictures();

// A bitmap file as a picture; a missing file raises "File not found", an
// unreadable one "Invalid picture".
QPixmap loadPicture(const QString& file);
// A picture to be shown at `size` logical pixels on a screen of `ratio`.
// One drawn larger is reduced smoothly, once, to the device pixels it will
// cover: squeezed as it is painted, every other pixel of it is dropped and
// its text falls apart into broken strokes. One drawn at that size or
// smaller comes back as it is.
QPixmap reducedTo(const QPixmap& picture, QSize size, qreal ratio);

// Writes an image as a bitmap, replacing the file; raises "Path/File access
// error" when it cannot be written.
void savePicture(const QImage& image, const QString& file);

} // namespace tav
