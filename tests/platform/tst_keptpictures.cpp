// The pictures kept across loads (toolbar faces, word buttons, emblems,
// the lesson figures, the hand cursor) are the ones a fresh drawing gives:
// a window loaded again from the kept pictures shows, control by control,
// what it shows when every picture is drawn anew.

#include "testkit.h"
#include "testmain.h"

#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/indice.h"
#include "shell/topics.h"

#include <QCoreApplication>
#include <QMap>

using namespace tav;
using namespace tav::test;

namespace {

// Every picture of a loaded window by control name, and the hand cursor's
// picture where a control carries it.
QMap<QString, QImage> picturesOf(Form& f)
{
    QMap<QString, QImage> out;
    for (ImageButton* b : f.widget()->findChildren<ImageButton*>())
        out.insert(b->objectName(), b->picture().toImage());
    for (PictureBox* p : f.widget()->findChildren<PictureBox*>())
        if (!p->picture().isNull())
            out.insert(p->objectName(), p->picture().toImage());
    for (QWidget* w : f.widget()->findChildren<QWidget*>())
        if (w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::BitmapCursor)
            out.insert(w->objectName() + QStringLiteral(" cursor"), w->cursor().pixmap().toImage());
    return out;
}

bool inked(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != img.pixel(0, 0))
                return true;
    return false;
}

void reload(Form& f)
{
    f.unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f.show();
}

struct DrawAnew {
    DrawAnew() { pictures::setDrawAnew(true); }
    ~DrawAnew() { pictures::setDrawAnew(false); }
};

} // namespace

class TestKeptPictures : public QObject {
    Q_OBJECT

private slots:
    void sameAsDrawnAnew_data();
    void sameAsDrawnAnew();
    void keptAcrossLoads();
    void lessonTextsSameAsLaidOutAnew_data();
    void lessonTextsSameAsLaidOutAnew();
};

void TestKeptPictures::sameAsDrawnAnew_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("pictures"); // at least this many to compare
    QTest::newRow("start page: emblems, exit") << "Indice" << 3;
    QTest::newRow("sampling: toolbar, Calculate") << "Form1" << 9;
    QTest::newRow("topic 6: equation") << "Form6" << 9;
    QTest::newRow("topic 10: diagram") << "Form10" << 9;
    QTest::newRow("topic 13: equation, Graph") << "Form12" << 10;
    QTest::newRow("graph page: ok, reset") << "FGrafico12" << 10;
}

void TestKeptPictures::sameAsDrawnAnew()
{
    QFETCH(QString, window);
    QFETCH(int, pictures);
    ProgramFixture fx;
    indice().show();
    Form& f = windowNamed(window);
    f.show();
    reload(f); // the second load takes the kept pictures
    const QMap<QString, QImage> kept = picturesOf(f);
    QMap<QString, QImage> fresh;
    {
        DrawAnew anew;
        reload(f);
        fresh = picturesOf(f);
    }
    QVERIFY2(kept.size() >= pictures, qPrintable(QString::number(kept.size())));
    QCOMPARE(fresh.keys(), kept.keys());
    for (auto it = kept.cbegin(); it != kept.cend(); ++it) {
        QVERIFY2(!it.value().isNull(), qPrintable(it.key()));
        QVERIFY2(fresh.value(it.key()) == it.value(), qPrintable(it.key()));
    }
}

void TestKeptPictures::keptAcrossLoads()
{
    // The same picture, not a copy drawn again, at the next load.
    ProgramFixture fx;
    indice().show();
    Form& f = windowNamed(QStringLiteral("Form12"));
    f.show();
    const qint64 equation = f.ctl<PictureBox>(QStringLiteral("Picture1"))->picture().cacheKey();
    const qint64 face = f.ctl<ImageButton>(QStringLiteral("Image6"))->picture().cacheKey();
    reload(f);
    QCOMPARE(f.ctl<PictureBox>(QStringLiteral("Picture1"))->picture().cacheKey(), equation);
    QCOMPARE(f.ctl<ImageButton>(QStringLiteral("Image6"))->picture().cacheKey(), face);
}

void TestKeptPictures::lessonTextsSameAsLaidOutAnew_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("texts");
    QTest::newRow("topic 2") << "Form2" << 4;
    QTest::newRow("topic 11") << "Form10a" << 4;
    QTest::newRow("topic 13") << "Form12" << 5;
}

// The paragraphs painted from their kept pictures, after a visit to another
// page and back, look as when laid out anew.
void TestKeptPictures::lessonTextsSameAsLaidOutAnew()
{
    QFETCH(QString, window);
    QFETCH(int, texts);
    ProgramFixture fx;
    indice().show();
    Form& f = windowNamed(window);
    f.show();
    auto paragraphs = [&] {
        QList<QImage> out;
        for (int i = 0; i < texts; ++i)
            out << f.ctl<Label>(QStringLiteral("Label1"), i)->grab().toImage();
        return out;
    };
    paragraphs(); // painted once: kept
    Form& other = windowNamed(QStringLiteral("Form3"));
    other.show();
    reload(f);
    QList<QImage> kept = paragraphs();
    // A text changed in place is laid out for what it says now.
    Label* first = f.ctl<Label>(QStringLiteral("Label1"), 0);
    first->setText(QStringLiteral("Another paragraph in the same box."));
    kept << first->grab().toImage();
    QList<QImage> fresh;
    {
        DrawAnew anew;
        reload(f);
        fresh = paragraphs();
        first = f.ctl<Label>(QStringLiteral("Label1"), 0);
        first->setText(QStringLiteral("Another paragraph in the same box."));
        fresh << first->grab().toImage();
    }
    QCOMPARE(fresh.size(), texts + 1);
    for (int i = 0; i <= texts; ++i) {
        QVERIFY2(!kept[i].isNull() && kept[i] == fresh[i], qPrintable(QString::number(i)));
        QVERIFY2(inked(kept[i]), qPrintable(QString::number(i))); // the text is there
    }
}

TAV_TEST_MAIN(TestKeptPictures)
#include "tst_keptpictures.moc"
