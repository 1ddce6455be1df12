#include "teacher_mix.h"

#include <array>
#include <cstdint>

#include "positions/catalogue.h"

namespace recibo::bench {

namespace {

// A small deterministic generator; the benchmark needs variety, not quality.
class Dice {
public:
    explicit Dice(unsigned seed) : state_(seed * 2654435761u + 1) {}
    unsigned below(unsigned n)
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>((state_ >> 33) % n);
    }
    bool chance(unsigned percent) { return below(100) < percent; }

private:
    std::uint64_t state_;
};

constexpr std::array<const char*, 12> kSurnames = {"Gómez",   "Fernández", "Benítez", "Ramírez", "Molina",   "Romero",
                                                   "Pereyra", "Acosta",    "Díaz",    "Sosa",    "Villalba", "Ruiz"};
constexpr std::array<const char*, 10> kNames = {"María", "Juan",   "Ana Inés", "Silvia", "Roberto",
                                                "Lucía", "Héctor", "Claudia",  "Martín", "Graciela"};

std::string hoursText(Dice& dice, unsigned max)
{
    const unsigned whole = dice.below(max + 1);
    return std::to_string(whole) + (dice.chance(15) ? ".5" : "");
}

std::string flag(Dice& dice, unsigned percent)
{
    return dice.chance(percent) ? "1" : "0";
}

}  // namespace

std::string teacherTable(std::size_t rows, unsigned seed)
{
    Dice dice(seed);
    std::string table =
        "docente,tipo,codcargo,numerohorasmed,numerohorassup,numhorascod06,numhorasincen,numhorascod113,"
        "antiguedad,zona,opincentivo,dinasist,transporte,cantkm,hijos,cantidadhijos,hijosdisc,cantidadhijosdisc,"
        "conyuge,Iosper,Osplad,APORTEJUB,Ley4035,AGMER,cajacomp,Seguro3011\n";
    table.reserve(rows * 140);
    const auto& catalogue = positions::catalogue();
    for (std::size_t i = 0; i < rows; ++i) {
        std::string row = "\"";
        row += kSurnames[dice.below(kSurnames.size())];
        row += ", ";
        row += kNames[dice.below(kNames.size())];
        row += "\",";

        const unsigned kind = dice.below(100);
        std::string code = "0", middle = "0", higher = "0", cod06 = "0", incentive = "0", cod113 = "0";
        if (kind < 60) {
            row += "cargo,";
            code = std::string(catalogue[dice.below(positions::kCatalogueRows)].codigocargo);
        } else if (kind < 85) {
            row += "medio,";
            middle = hoursText(dice, 36);
            cod06 = hoursText(dice, 36);
            incentive = hoursText(dice, 30);
            cod113 = hoursText(dice, 32);
        } else {
            row += "superior,";
            higher = hoursText(dice, 24);
            cod06 = hoursText(dice, 18);
            incentive = hoursText(dice, 26);
            cod113 = hoursText(dice, 26);
        }
        row += code + ',' + middle + ',' + higher + ',' + cod06 + ',' + incentive + ',' + cod113 + ',';

        row += std::to_string(dice.below(13)) + ',';                           // antiguedad
        row += std::to_string(static_cast<int>(dice.below(6)) - 1) + ',';      // zona
        row += flag(dice, 85) + ',';                                           // opincentivo
        row += (dice.chance(80) ? "0" : std::to_string(dice.below(6))) + ',';  // dinasist
        const bool transport = dice.chance(30);
        row += std::string(transport ? "1," : "0,") + (transport ? std::to_string(dice.below(420)) : "0") + ',';
        const bool children = dice.chance(40);
        row += std::string(children ? "1," : "0,") + (children ? std::to_string(dice.below(5)) : "0") + ',';
        const bool disabled = dice.chance(5);
        row += std::string(disabled ? "1," : "0,") + (disabled ? std::to_string(1 + dice.below(2)) : "0") + ',';
        row += flag(dice, 30) + ',';  // conyuge
        row += flag(dice, 70) + ',' + flag(dice, 30) + ',' + flag(dice, 95) + ',' + flag(dice, 90) + ','
            + flag(dice, 60) + ',' + flag(dice, 30) + ',' + flag(dice, 50) + '\n';
        table += row;
    }
    return table;
}

}  // namespace recibo::bench
