#include "platform/pictures.h"
#include "shell/app.h"
#include "shell/indice.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tav::setupApplication(app);
    tav::indice().show();
    return app.exec();
}
