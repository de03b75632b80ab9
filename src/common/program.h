#pragma once
// Program-wide state: the end of the program, the last form, the private
// temporary folder.

#include <QString>
#include <functional>

namespace tav {

class Form;

// Ends the program at once: no unload procedure runs, every window disappears,
// every timer stops. Further steps of any procedure do not run.
void encerra();
bool programEnded();
// What encerra does after hiding the windows (the program quits its event
// loop; tests record the call).
void setExitHandler(std::function<void()> handler);

// The window behind "Last Form".
Form* ultimoform();
void setUltimoform(Form* form);

// A folder private to this process (mode 700), removed at exit; the print
// paths keep their temporary picture file here. Made on first use in the
// temporary folder, else the runtime folder, else the cache folder; raises
// "Path/File access error" when none of them takes it, and tries again at
// the next use.
QString privateTempDir();
// Removes the folder with what it holds; the next use makes a new one
// (tests, after changing where it may go).
void dropPrivateTempDir();
QString tempPictureFile(); // "tmp.bmp" in that folder

// Back to the state of a fresh start (tests): every window unloaded without
// its unload procedure, no last form, the program not ended.
void resetProgram();

} // namespace tav
