#pragma once
// Topic 1, the sampling page: what RDL and CL mean, and a calculator that
// finds the sample size, the RDL or the CL from the other values.

#include "shell/page.h"

#include <QString>

namespace tav {

class TextBox;

class Form1 : public ToolbarPage {
    Q_OBJECT
public:
    Form1();

    // Event procedures.
    void Image1_Click();
    void Option1_Click(int index);
    void Text1_MouseMove(int index);

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
    void formActivate() override;
    void formResize() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TextBox* text1(int index);
    // The blank line between the paragraphs of the explanatory texts.
    QString separator_;
};

Form1& form1();

} // namespace tav
