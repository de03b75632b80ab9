// The hostile sweep (see sweep.h) over graph pages 4, 5, 6 and 12.

#include "sweep.h"
#include "testmain.h"

using namespace tav::robust;

class TestSweepRelations : public QObject {
    Q_OBJECT

private slots:
    void sweep_data() { sweepRows({"FGrafico4", "FGrafico5", "FGrafico6", "FGrafico12"}); }
    void sweep() { sweepRow(); }
};

TAV_TEST_MAIN(TestSweepRelations)
#include "tst_sweeprelations.moc"
