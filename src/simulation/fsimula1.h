#pragma once
// The simulation input window: no toolbar, no menu, kept on top.

#include "common/window.h"

namespace tav {

class FSimula1 : public Form {
    Q_OBJECT
public:
    FSimula1();

    // Cancel: closes the simulation and returns to the topic-5 page.
    void Image3_Click();
    void calcula_Click();

protected:
    void build(FormWidget* w) override;
    void formLoad() override;
    void formUnload(bool& cancel) override;

private:
    // The calculator's boxes as they were when the window last unloaded.
    QString memRdl_, memCl_;
};

} // namespace tav
