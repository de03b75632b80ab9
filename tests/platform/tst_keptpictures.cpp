// The pictures kept across loads (toolbar faces, word buttons, emblems,
// the lesson figures, the hand cursor) are the ones a fresh drawing gives:
// a window loaded again from the kept pictures shows, control by control,
// what it shows when every picture is drawn anew.

#include "testkit.h"

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

QTEST_MAIN(TestKeptPictures)
#include "tst_keptpictures.moc"
