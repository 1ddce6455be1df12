#include "command_line.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "table/columns.h"

namespace recibo::batch {

namespace {

// The N of -j N: a whole number from 1 to kMaxJobs.
OrUnusable<unsigned> jobCount(const std::string& text)
{
    unsigned value = 0;
    bool valid = !text.empty() && text.size() <= 3;
    for (const char c : text) {
        valid = valid && c >= '0' && c <= '9';
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (!valid || value < 1 || value > kMaxJobs)
        return Unusable{"el número de trabajos de -j no es válido: " + table::quotedForMessage(text)
                        + ". Debe ser un número entero de 1 a " + std::to_string(kMaxJobs)};
    return value;
}

// An option that takes a value, as "--name VALUE" or "--name=VALUE".
struct ValueOption {
    std::string_view name;
    std::optional<std::string> CommandLine::*value;
    const char* missing;  // the message when no value follows
    bool emptyRefused;    // an empty value is as good as none
};

const ValueOption kValueOptions[] = {
    {"--locale", &CommandLine::locale, "falta el nombre de la configuración regional después de --locale", false},
    {"--escala", &CommandLine::scaleFile, "falta el nombre del archivo de escala después de --escala", true},
    {"--pdf", &CommandLine::pdfDirectory, "falta el nombre de la carpeta después de --pdf", true},
    {"--pdf-unico", &CommandLine::pdfFile, "falta el nombre del archivo después de --pdf-unico", true},
    {"--svg", &CommandLine::svgDirectory, "falta el nombre de la carpeta después de --svg", true},
    {"--comparar", &CommandLine::compareFile, "falta el nombre del archivo de recibos oficiales después de --comparar",
     true},
};

}  // namespace

OrUnusable<CommandLine> parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto option = std::find_if(std::begin(kValueOptions), std::end(kValueOptions), [&](const auto& o) {
            return arg.starts_with(o.name) && (arg.size() == o.name.size() || arg[o.name.size()] == '=');
        });
        if (!optionsEnded && option != std::end(kValueOptions)) {
            if (arg.size() > option->name.size()) {
                line.*option->value = arg.substr(option->name.size() + 1);
            } else {
                if (i + 1 == args.size())
                    return Unusable{option->missing};
                line.*option->value = args[++i];
            }
        } else if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            line.help = true;
        } else if (!optionsEnded && arg == "--explicar") {
            line.explain = true;
        } else if (!optionsEnded && arg == "--escala-incluida") {
            line.writeBuiltInScale = true;
        } else if (!optionsEnded && (arg.starts_with("-j") || arg == "--trabajos" || arg.starts_with("--trabajos="))) {
            std::string count;
            if (arg == "-j" || arg == "--trabajos") {
                if (i + 1 == args.size())
                    return Unusable{"falta el número de trabajos después de " + arg};
                count = args[++i];
            } else {
                count = arg.substr(arg.starts_with("-j") ? 2 : 11);
            }
            const auto jobs = jobCount(count);
            if (const auto* problem = std::get_if<Unusable>(&jobs))
                return *problem;
            line.jobs = std::get<unsigned>(jobs);
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            return Unusable{"opción desconocida " + table::quotedForMessage(arg)
                            + " (recibo-lote --help muestra el uso)"};
        } else if (line.file) {
            return Unusable{"sobra el argumento " + table::quotedForMessage(arg) + ": se lee un solo archivo"};
        } else {
            line.file = arg;
        }
    }
    for (const ValueOption& option : kValueOptions)
        if (option.emptyRefused && line.*option.value && (line.*option.value)->empty())
            return Unusable{option.missing};
    if (line.pdfDirectory && line.pdfFile)
        return Unusable{
            "--pdf y --pdf-unico no van juntas: elegí un PDF por fila (--pdf) o uno solo con todas "
            "(--pdf-unico)"};
    if (line.svgDirectory && (line.pdfDirectory || line.pdfFile))
        return Unusable{"--svg no va junto con --pdf ni con --pdf-unico: elegí una sola forma de guardar las hojas"};
    return line;
}

}  // namespace recibo::batch
