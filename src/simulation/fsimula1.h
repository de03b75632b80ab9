#pragma once
// The simulation input window: no toolbar, no menu, kept on top.

#include "common/window.h"
#include "simulation/resultados.h"

namespace tav {

class FSimula1 : public Form {
    Q_OBJECT
public:
    FSimula1();

    // The run: checks the inputs, hands them to the results window, runs
    // the engine there and fills its table.
    void Image1_Click();
    // Back to the default inputs (the calculator's boxes stay).
    void Image2_Click();
    // Cancel: closes the simulation and returns to the topic-5 page.
    void Image3_Click();
    void calcula_Click();
    // A probability typed into lp1 (index 1) or lp2 (index 2) moves its
    // slider once the box loses the focus.
    void typedProbability(int index);

    // Puts this window's three variabilities (its boxes' last numbers) into
    // the shared ones the engine reads; every run from these inputs does so
    // just before it starts.
    void applyVariabilities();

    // 1 while a typed probability moves its slider.
    int digitando() const { return digitando_; }

protected:
    void build(FormWidget* w) override;
    void formLoad() override;
    void formUnload(bool& cancel) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void sliderChanged(int index);
    void sliderScrolled(int index);
    void variabilityChanged(int index);

    int digitando_ = 0;
    Variabilidades own_;
};

} // namespace tav
