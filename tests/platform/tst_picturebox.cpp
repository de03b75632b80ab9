// The picture box keeps its drawing shown or hidden, clears it without
// losing its background, and draws in its own scale.
#include "platform/controls.h"
#include "testmain.h"

#include <QTest>

using namespace tav;

class TestPictureBox : public QObject {
    Q_OBJECT
private slots:
    void drawingKeptWhileHiddenAndCleared();
    void scales_data();
    void scales();
};

void TestPictureBox::drawingKeptWhileHiddenAndCleared()
{
    QWidget host;
    auto* box = place<PictureBox>(&host, QStringLiteral("Picture1"), 0, 0, 1500, 1500); // 100 x 100 px
    QPixmap back(100, 100);
    back.fill(Qt::yellow);
    box->setPicture(back);
    box->hide();
    box->setScaleMode(PictureBox::ScalePixels);
    box->setDrawWidth(4); // a core of whole pixels at any ratio, once reduced to the box's size
    box->line(0, 50, 99, 50, Qt::red);
    QImage img = box->image();
    QCOMPARE(img.pixelColor(50, 50), QColor(Qt::red));
    QCOMPARE(img.pixelColor(50, 10), QColor(Qt::yellow));
    box->cls();
    img = box->image();
    QCOMPARE(img.pixelColor(50, 50), QColor(Qt::yellow)); // the background stays
    QCOMPARE(box->currentX(), 0.0);
}

void TestPictureBox::scales_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("x"); // a point at this coordinate...
    QTest::addColumn<int>("px");   // ...lands on this pixel
    QTest::addColumn<double>("width");
    QTest::newRow("twips") << int(PictureBox::ScaleTwips) << 600.0 << 40 << 1500.0;
    QTest::newRow("pixels") << int(PictureBox::ScalePixels) << 40.0 << 40 << 100.0;
}

void TestPictureBox::scales()
{
    QFETCH(int, mode);
    QFETCH(double, x);
    QFETCH(int, px);
    QFETCH(double, width);
    QWidget host;
    auto* box = place<PictureBox>(&host, QStringLiteral("Picture2"), 0, 0, 1500, 1500);
    box->setScaleMode(mode);
    QCOMPARE(box->scaleWidth(), width);
    box->setDrawWidth(3);
    box->pset(x, x, Qt::blue);
    QCOMPARE(box->image().pixelColor(px, px), QColor(Qt::blue));
    QCOMPARE(box->image().pixelColor(px + 10, px), QColor(Qt::white));
}

TAV_TEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"
