#pragma once
// The output services scripted for tests: no dialog opens, nothing reaches
// a printer or the system clipboard.

#include "output/services.h"
#include "testkit.h"

namespace tav::test {

class OutputFixture : public ProgramFixture {
public:
    OutputFixture()
    {
        setDialogs(&dialogs);
        setPrinter(&paper);
        setClipboard(&clip);
    }
    ~OutputFixture()
    {
        setDialogs(nullptr);
        setPrinter(nullptr);
        setClipboard(nullptr);
    }
    ScriptedDialogs dialogs;
    ImagePrinter paper;
    MemoryClipboard clip;
};

} // namespace tav::test
