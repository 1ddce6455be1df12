#include "input_field.h"

#include <array>

namespace recibo::payroll {

namespace {

struct FieldNames {
    std::string_view control;
    std::string_view label;
};

// In the order of InputField.
constexpr std::array<FieldNames, 14> kNames = {{
    {"punbas", "Puntos básicos"},
    {"compbas", "Comp básico"},
    {"jorcom", "Jorn. completa"},
    {"proljor", "Prol. de jornada"},
    {"tardif", "Tarea diferenc."},
    {"numerohorasmed", "Número de horas N. Medio"},
    {"numerohorassup", "Número de horas N. Superior"},
    {"numhorascod06", "Número de horas con código 06"},
    {"numhorasincen", "Número de horas con incentivo"},
    {"numhorascod113", "Número de horas con código 113"},
    {"dinasist", "cantidad de días de inasistencia"},
    {"cantkm", "cantidad de km semanales"},
    {"cantidadhijos", "cantidad de hijos"},
    {"cantidadhijosdisc", "cantidad de hijos diferenciados"},
}};

}  // namespace

std::string_view controlName(InputField field)
{
    return kNames[static_cast<std::size_t>(field)].control;
}

std::string_view userLabel(InputField field)
{
    return kNames[static_cast<std::size_t>(field)].label;
}

}  // namespace recibo::payroll
