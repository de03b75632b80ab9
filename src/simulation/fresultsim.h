#pragma once
// The simulation results window: inputs and averages of the latest run,
// the picture panel Picture5 and the 1-second timer of the continuous run.

#include "shell/page.h"

namespace tav {

class FResultSim : public ToolbarPage {
    Q_OBJECT
public:
    FResultSim();

    // Empties the result labels; with f = 1 first the input labels too.
    void limpa(int& f);
    // Change inputs: clears the window, stops the continuous run and opens
    // the input window beside it.
    void Image3_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
    void formUnload(bool& cancel) override;
};

} // namespace tav
