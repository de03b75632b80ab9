#pragma once
// Topic 12, the measure-effect simulation page: the model of a measure by
// its efficacy and probit (measures/model.h), the ALP answers, the results
// panel and the animation of random consignments on Timer1.

#include "common/errors.h"
#include "measures/animation.h"
#include "measures/model.h"
#include "shell/page.h"

#include <cstdint>

class QTimer;

namespace tav {

class Label;
class Slider;
class ComboBox;

class Form11 : public ToolbarPage {
    Q_OBJECT
public:
    Form11();

    // Page variables; they outlive an unload.
    int flctr = 0;       // 1 while code sets parameter controls
    float cvar_pmp = 0;  // variability of the field prevalence, a fraction
    double ic = 0;       // detection probability of the last recomputation
    double yy1 = 0;      // ALP, years between introductions
    int flagsalva = 0;   // the save command's build-only flag
    const measures::AnimationState& animation() const { return anim_; }
    // The window's mouse pointer: 11 while a drawing runs, else 0.
    int mousePointer() const { return pointer_; }

    // The model recomputation from the captions; ends with the ALP answers.
    void atualiza();
    // Efficacy to probit and back; both change the caller's variable.
    double probit(double& p);
    double mortal(double& z);
    // One random consignment drawn from stage `flag` on.
    void desenhabase(int& flag, int32_t& pop, float& inf, int32_t& samp, float& pr1, float& pr2, float& effic);

    // Event procedures.
    void Hscroll1_Change();
    void Hscroll2_Change();
    void Hscroll3_Change();
    void Hscroll4_Change();
    void Hscroll5_Change();
    void Hscroll7_Change();
    void Hscroll9_Change();
    void Hscroll9_Click();
    void Hscroll1_Scroll();
    void Hscroll2_Scroll();
    void Hscroll4_Scroll();
    void Hscroll5_Scroll();
    void Hscroll7_Scroll();
    void Hscroll9_Scroll();
    void Combo1_Change();
    void Combo1_Click();
    void Combo2_Change();
    void Combo2_Click();
    void Slider1_Change();
    void Slider1_Scroll();
    void Option1_Click(int index);
    void Image10_Click();
    void Image9_Click();
    void Image3_Click();
    void Image4_Click();
    void Timer1_Timer();
    void Image32_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
    void formUnload(bool& cancel) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void muda();
    void redraw(int flag);
    void probabilityChanged(const QString& slider, int caption, int stage);
    void efficacyFromProbit(double z, const QString& pattern);
    double probitShown(IgnoreErrors& e);
    void showAlpLevel(IgnoreErrors& e);
    void paint(const measures::DrawingPlan& plan);
    void setPointer(int pointer);
    Label* label(const QString& name, int index = -1);
    Slider* slider(const QString& name);
    ComboBox* combo(const QString& name);
    QTimer* timer();
    measures::AlpAnswers answers();

    measures::AnimationState anim_;
    int pointer_ = 0;
    bool drawing_ = false;
    QPoint dragFrom_;
    bool dragging_ = false;
};

} // namespace tav
