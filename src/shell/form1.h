#pragma once
// Topic 1, the sampling page.

#include "shell/page.h"

namespace tav {

class Form1 : public ToolbarPage {
    Q_OBJECT
public:
    Form1();
};

} // namespace tav
