#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstring>
#include <memory>

#include "program.h"
#include "regional/qt_translations.h"

namespace {

// The program takes no options but --help and --version: with any of them
// (or a wrong one) it only writes to the terminal, so it needs no display,
// and works over ssh or in a package's checks.
bool onlyForTheTerminal(int argc, char* argv[])
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (argv[i][0] == '-' && argv[i][1] != '\0')
            return true;
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QCoreApplication> application(
        onlyForTheTerminal(argc, argv) ? new QCoreApplication(argc, argv) : new QApplication(argc, argv));
    QCoreApplication::setApplicationName("recibo");
    // The file dialog, the standard buttons and --help's headings in Spanish,
    // like the rest.
    recibo::regional::installQtTranslations();

    QCommandLineParser parser;
    parser.setApplicationDescription("Calcula el recibo de sueldo mensual de un docente.");
    const QCommandLineOption help({"h", "help"}, "Muestra esta ayuda y termina.");
    const QCommandLineOption version({"v", "version"}, "Muestra la versión del programa y termina.");
    parser.addOptions({help, version});
    parser.addPositionalArgument("planilla.csv", "Planilla de docentes para abrir al arrancar.", "[planilla.csv]");
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "recibo: %s Las opciones se ven con «recibo --help».\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        const QString text = parser.isSet(help) ? parser.helpText() : "recibo " RECIBO_VERSION "\n";
        std::fputs(qPrintable(text), stdout);
        return 0;
    }

    recibo::app::Program program;
    QObject::connect(&program, &recibo::app::Program::quitRequested, application.get(),
                     [] { QCoreApplication::exit(0); });
    program.start(parser.positionalArguments());
    return QCoreApplication::exec();
}
