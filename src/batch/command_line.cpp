#include "command_line.h"

#include "columns.h"

namespace recibo::batch {

OrUnusable<CommandLine> parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            line.help = true;
        } else if (!optionsEnded && arg == "--locale") {
            if (i + 1 == args.size())
                return Unusable{"falta el nombre de la configuración regional después de --locale"};
            line.locale = args[++i];
        } else if (!optionsEnded && arg.starts_with("--locale=")) {
            line.locale = arg.substr(9);
        } else if (!optionsEnded && arg == "--escala-incluida") {
            line.writeBuiltInScale = true;
        } else if (!optionsEnded && arg == "--escala") {
            if (i + 1 == args.size())
                return Unusable{"falta el nombre del archivo de escala después de --escala"};
            line.scaleFile = args[++i];
        } else if (!optionsEnded && arg.starts_with("--escala=")) {
            line.scaleFile = arg.substr(9);
        } else if (!optionsEnded && arg == "--pdf") {
            if (i + 1 == args.size())
                return Unusable{"falta el nombre de la carpeta después de --pdf"};
            line.pdfDirectory = args[++i];
        } else if (!optionsEnded && arg.starts_with("--pdf=")) {
            line.pdfDirectory = arg.substr(6);
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            return Unusable{"opción desconocida " + quotedForMessage(arg) + " (recibo-lote --help muestra el uso)"};
        } else if (line.file) {
            return Unusable{"sobra el argumento " + quotedForMessage(arg) + ": se lee un solo archivo"};
        } else {
            line.file = arg;
        }
    }
    if (line.scaleFile && line.scaleFile->empty())
        return Unusable{"falta el nombre del archivo de escala después de --escala"};
    if (line.pdfDirectory && line.pdfDirectory->empty())
        return Unusable{"falta el nombre de la carpeta después de --pdf"};
    return line;
}

}  // namespace recibo::batch
