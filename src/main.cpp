#include "platform/actions.h"
#include "platform/pictures.h"
#include "shell/app.h"
#include "shell/indice.h"

int main(int argc, char** argv)
{
    tav::Application app(argc, argv);
    tav::setupApplication(app);
    tav::endOnSignals(app);
    tav::indice().show();
    return app.exec();
}
