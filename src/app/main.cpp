#include <QApplication>

#include "program.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName("recibo");

    recibo::app::Program program;
    QObject::connect(&program, &recibo::app::Program::quitRequested, &application,
                     [] { QApplication::exit(0); });
    program.start();
    return QApplication::exec();
}
