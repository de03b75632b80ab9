// The hostile sweep (see sweep.h) over the graph pages.

#include "sweep.h"

using namespace tav::robust;

class TestSweepGraphs : public QObject {
    Q_OBJECT

private slots:
    void sweep_data() { sweepRows(windowNames().filter(QStringLiteral("FGrafico"))); }
    void sweep() { sweepRow(); }
};

QTEST_MAIN(TestSweepGraphs)
#include "tst_sweepgraphs.moc"
