#pragma once
// Topic 4, the inspection page with its own simulation: inputs, a sample-size
// calculator, a run of the engine on the page itself (inspection only), its
// averages, its rows in the grid and the print table, and the picture of one
// consignment in a panel. The left area shows the text, the panel or the grid.

#include "shell/page.h"

#include <cstdint>

namespace tav {

class Form4 : public ToolbarPage {
    Q_OBJECT
public:
    Form4();

    void calcula_Click();
    void Image1_Click();  // Simulate
    void Image3_Click();  // Reset to default values
    void Image9_Click();  // Show image
    void Image10_Click(); // Show table
    void Combo2_Change(); // the variability of the prevalence

    // 1 only while the picture save composes the picture; kept across loads.
    int16_t salvando = 0;

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
    void formActivate() override;

private:
    void mostrasimulacao();

    double varprev_ = 0.0; // the variability box's last number, a fraction
};

} // namespace tav
