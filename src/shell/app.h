#pragma once
namespace tav {

class Application;

// Application title, icon, fonts and quit policy: the program ends only
// through encerra.
void setupApplication(Application& app);

} // namespace tav
