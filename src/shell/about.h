#pragma once
// The About box: product, release, credit, contact, System Info.

#include "common/window.h"

#include <QUrl>

namespace tav {

class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();

    static QUrl webPage();
    static QString contactAddress();
    // The desktop programs tried, in order, for "System Info...".
    static QStringList systemInfoPrograms();

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Image1_Click();
    void Label1_Click();
    void StartSysInfo();

protected:
    void build(FormWidget* w) override;
    void formLoad() override;
    bool centred() const override { return false; }
};

frmAbout& about();

} // namespace tav
