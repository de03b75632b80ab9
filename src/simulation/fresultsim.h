#pragma once
// The simulation results window: inputs and averages of the latest run,
// the results table Grid1, the picture panel Picture5 with its sliders and
// the 1-second timer of the continuous run.

#include "shell/page.h"

#include <cstdint>

namespace tav {

class FResultSim : public ToolbarPage {
    Q_OBJECT
public:
    FResultSim();

    // Empties the result labels; with f = 1 first the input labels too.
    void limpa(int& f);
    // Draws one consignment on the panel (flag 0), or redraws the host and
    // establishment pictures (3) or the establishment picture (4).
    void desenhabase(int flag, int32_t pop, float inf, int32_t samp, float pr1, float pr2);

    // Change inputs: clears the window, stops the continuous run and opens
    // the input window beside it.
    void Image3_Click();
    // Simulate again (also every tick of Timer1).
    void Image4_Click();
    // Starts or stops the continuous simulation.
    void Image1_Click();
    // Show image / show table.
    void Image9_Click();
    void Image10_Click();
    // The activation: the sliders follow the input window.
    void Form_Activate();

    int ajustando() const { return ajustando_; }
    int salvando() const { return salvando_; }
    void setSalvando(int v) { salvando_ = v; }
    float ninfestadas() const { return ninfestadas_; }

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
    void formUnload(bool& cancel) override;
    void formActivate() override { Form_Activate(); }

private:
    void sliderChanged(int index);
    void sliderScrolled(int index);
    // Sets the sample slider's maximum; a sample it moves follows as a change.
    void setSampleMax(int max);
    void setStartFace();
    bool viewShown();

    // Kept while the program runs, across reloads of the window.
    int ajustando_ = 0;
    int salvando_ = 0;
    float ninfestadas_ = 0.0f;
    bool boundMoved_ = false; // while a bound set here moves the sample
};

} // namespace tav
