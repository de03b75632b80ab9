#include "output/canvas.h"

#include "common/runtime.h"
#include "common/safefile.h"
#include "common/twips.h"
#include "output/services.h"
#include "platform/busy.h"
#include "platform/controls.h"
#include "shell/indice.h"

#include <QFile>
#include <QBuffer>
#include <cmath>

namespace tav {

PictureBox* canvas() { return indice().ctl<PictureBox>(QStringLiteral("Picture6")); }
PictureBox* stagingPicture() { return indice().ctl<PictureBox>(QStringLiteral("Picture4")); }
PictureBox* secondStagingPicture() { return indice().ctl<PictureBox>(QStringLiteral("Picture5")); }

void emptyPicture(PictureBox* box)
{
    box->setPicture(QPixmap());
    box->cls();
}

void resetPrintPictures()
{
    // The design sizes of the start page's hidden pictures, in twips.
    const struct {
        PictureBox* box;
        int width, height;
    } boxes[] = {{canvas(), 1665, 2310}, {stagingPicture(), 2220, 1860}, {secondStagingPicture(), 930, 2025}};
    for (const auto& b : boxes) {
        emptyPicture(b.box);
        b.box->setBackColor(Qt::white);
        b.box->resize(twips(b.width), twips(b.height));
        // Resizing keeps the drawing's old size; clear it at the new one.
        b.box->cls();
    }
}

QPixmap loadPicture(const QString& file)
{
    if (!QFile::exists(file))
        throw RuntimeError(ErrFileNotFound, QStringLiteral("File not found"));
    // Read through QImage: QPixmap::load answers from its cache by name and
    // date, so a file rewritten within the same second (the temporary
    // picture file, once per element) would give back the earlier picture.
    QImage image;
    if (!image.load(file))
        throw RuntimeError(ErrInvalidPicture, QStringLiteral("Invalid picture"));
    return QPixmap::fromImage(image);
}

QPixmap reducedTo(const QPixmap& picture, QSize size, qreal ratio)
{
    const QSize device(int(std::lround(size.width() * ratio)), int(std::lround(size.height() * ratio)));
    if (picture.isNull() || device.isEmpty() || (device.width() >= picture.width() && device.height() >= picture.height()))
        return picture;
    QPixmap out = QPixmap::fromImage(
        picture.toImage().scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    out.setDevicePixelRatio(ratio);
    return out;
}

void savePicture(const QImage& image, const QString& file)
{
    BusyCursor busy;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw RuntimeError(ErrPathFileAccess, QStringLiteral("Path/File access error"));
    busy.progress();
    writeFileWhole(file, bytes);
}

} // namespace tav
