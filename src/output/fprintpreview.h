#pragma once
// The table preview: the print table drawn as a page at a chosen zoom, page
// after page, and printed whole in one pass.

#include "common/window.h"
#include "output/services.h"

#include <QVariant>
#include <optional>

namespace tav {

class FPrintPreview : public Form {
    Q_OBJECT
public:
    FPrintPreview();

    // Event procedures.
    void Combo1_Change();
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    // The first row of the next preview page (0 after the last page).
    QVariant proximalinha;

protected:
    void build(FormWidget* w) override;
    void formLoad() override;
    void formResize() override;

private:
    QVariant draw(const QVariant& from);
    void fitSheet();
    // What Configure chose, for this window's pages and prints until it closes.
    std::optional<PrintChoice> choice_;
};

FPrintPreview& fprintpreview();

} // namespace tav
