// The hostile sweep (see sweep.h) over every window but the graph pages,
// which tst_sweepgraphs and tst_sweeprelations take, so that they run side by side.

#include "sweep.h"
#include "testmain.h"

using namespace tav::robust;

class TestSweep : public QObject {
    Q_OBJECT

private slots:
    void sweep_data() { sweepRows(windowNames().filter(QRegularExpression(QStringLiteral("^(?!FGrafico)")))); }
    void sweep() { sweepRow(); }
};

TAV_TEST_MAIN(TestSweep)
#include "tst_sweep.moc"
