#pragma once
namespace tav {

class Application;

// Application title, icon, fonts and quit policy: the program ends only
// through encerra.
void setupApplication(Application& app);
// SIGTERM (a logout, a kill), SIGINT (Ctrl+C) and SIGHUP (the terminal
// gone) end the program as Exit does, so that the private folder goes with
// it. The program's own; a test run keeps the default ends.
void endOnSignals(Application& app);

} // namespace tav
