#include "simulation/memsimula.h"

#include "common/window.h"

namespace tav {

Memsimula& memsimula()
{
    static Memsimula cells;
    static bool registered = false;
    // A program reset (tests) forgets the remembered inputs as well.
    if (!registered) {
        registered = true;
        Form::registerReset([] {
            cells = Memsimula();
            registered = false;
        });
    }
    return cells;
}

} // namespace tav
