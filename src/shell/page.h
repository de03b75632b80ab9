#pragma once
// The frame shared by the windows with a toolbar: the window itself
// (caption, client size, background, icon), the toolbar Frame4, the title
// band Label2, the menus with their navigation (shell/navigation.h), and the
// unload procedure that records the last form.
// Each page adds its own controls in buildContent and its own load in
// pageLoad.

#include "common/window.h"

#include <QString>
#include <cstdint>

namespace tav {

class Label;

struct PageDesign {
    QString caption;
    uint32_t backColor = 0x00C0E0FF; // &H00BBGGRR
    int clientWidth = 11880;
    int clientHeight = 8310;
    bool titleBand = true;   // Label2 under the toolbar
    int titleLeft = -30;
    QString title;           // design caption of the title band
};

class ToolbarPage : public Form {
    Q_OBJECT
public:
    ToolbarPage(const QString& name, PageDesign design);
    const PageDesign& design() const { return design_; }

protected:
    void build(FormWidget* w) final;
    void formLoad() final;
    void formUnload(bool& cancel) override;
    void formResize() override;

    virtual void buildContent(FormWidget* w) { Q_UNUSED(w); }
    virtual void pageLoad() {}

private:
    PageDesign design_;
};

// Gives a band across the window (the toolbar, a title band) the window's
// outer width, as designed, and never less than reaches the right edge of
// its container: with a scale factor set the window's frame is thinner and
// the outer width alone would leave a strip at the right.
void stretchBand(const Form& f, QWidget* band);

// Sets a window's caption, icon, client size and background colour.
void setupWindow(FormWidget* w, const QString& caption, uint32_t backColor, int clientWidth,
                 int clientHeight);

} // namespace tav
