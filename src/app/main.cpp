#include <QApplication>

#include "program.h"
#include "regional/qt_translations.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName("recibo");
    // The file dialog and the standard buttons in Spanish, like the rest.
    recibo::regional::installQtTranslations();

    recibo::app::Program program;
    QObject::connect(&program, &recibo::app::Program::quitRequested, &application, [] { QApplication::exit(0); });
    program.start(QApplication::arguments());
    return QApplication::exec();
}
