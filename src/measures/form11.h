#pragma once
// Topic 12, the measure-effect simulation page.

#include "shell/page.h"

class QTimer;

namespace tav {

class Form11 : public ToolbarPage {
    Q_OBJECT
public:
    Form11();

protected:
    void buildContent(FormWidget* w) override;
    void formUnload(bool& cancel) override;
};

} // namespace tav
