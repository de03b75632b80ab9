#pragma once
// The start page: the thirteen topic links, Exit, "Last Form", Help, and
// the hidden picture store every window uses.

#include "common/window.h"

namespace tav {

class Indice : public Form {
    Q_OBJECT
public:
    Indice();

    // Event procedures.
    void Label3_Click(int index);
    void Image11_Click();
    void menu0_Click();
    void menuHelpHelp_Click();
    void menuHelpAbout_Click();
    void menuFileExit_Click();

protected:
    void build(FormWidget* w) override;
    void formLoad() override;
    void formUnload(bool& cancel) override;
    void formResize() override;
};

Indice& indice();

} // namespace tav
