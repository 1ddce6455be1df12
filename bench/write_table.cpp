// Writes the benchmark's table of teachers as a CSV file, for timing
// recibo-lote itself:
//
//   recibo_write_table ROWS > planilla.csv
//
// The same rows as the in-process benchmark uses (bench/teacher_mix.h); the
// numbers are written with a decimal point (recibo-lote --locale C).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "teacher_mix.h"

int main(int argc, char* argv[])
{
    char* end = nullptr;
    const long rows = argc == 2 ? std::strtol(argv[1], &end, 10) : -1;
    if (argc != 2 || *end != '\0' || rows < 0) {
        std::fprintf(stderr, "uso: %s FILAS > planilla.csv\n", argv[0]);
        return 2;
    }
    const std::string table = recibo::bench::teacherTable(static_cast<std::size_t>(rows));
    if (std::fwrite(table.data(), 1, table.size(), stdout) != table.size() || std::fflush(stdout) != 0) {
        std::perror("recibo_write_table");
        return 1;
    }
    return 0;
}
