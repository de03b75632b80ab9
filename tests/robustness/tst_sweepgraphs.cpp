// The hostile sweep (see sweep.h) over graph pages 1 to 3; tst_sweeprelations
// takes the others, so that they run side by side.

#include "sweep.h"
#include "testmain.h"

using namespace tav::robust;

class TestSweepGraphs : public QObject {
    Q_OBJECT

private slots:
    void sweep_data() { sweepRows({"FGrafico1", "FGrafico2", "FGrafico3"}); }
    void sweep() { sweepRow(); }
};

TAV_TEST_MAIN(TestSweepGraphs)
#include "tst_sweepgraphs.moc"
