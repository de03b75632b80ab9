#pragma once
class QApplication;

namespace tav {

// Application title, icon, fonts and quit policy: the program ends only
// through encerra.
void setupApplication(QApplication& app);

} // namespace tav
