#pragma once
// Topic 4, the inspection page with its own simulation.

#include "shell/page.h"

namespace tav {

class Form4 : public ToolbarPage {
    Q_OBJECT
public:
    Form4();

    void calcula_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

} // namespace tav
