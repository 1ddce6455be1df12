#pragma once

#include <cstdint>
#include <string>

namespace recibo::payroll {

// The kind of employment chosen with the options "Cargo", "Hs. N. Medio" and
// "Hs. N. Superior"; at most one of them is on.
enum class EmploymentKind : std::uint8_t { None, Position, MiddleLevelHours, HigherLevelHours };

// A check box's state. Only Checked counts as checked; Grayed does not.
enum class CheckState : std::uint8_t { Unchecked = 0, Checked = 1, Grayed = 2 };

// The values of the entry window's controls exactly as the controls hold
// them; the calculation reads and converts each at the step that needs it.
// Default values are the window's state at program start.
struct EntryValues {
    std::string docente;
    EmploymentKind kind = EmploymentKind::None;

    std::string numerohorasmed = "0";
    std::string numerohorassup = "0";
    std::string numhorascod06 = "0";
    std::string numhorasincen = "0";
    std::string numhorascod113 = "0";

    // The seniority option that is on: 1 to 12 for Option1 to Option12, 0 for none.
    int seniorityOption = 0;
    // Kept by the window from the last seniority option clicked.
    std::uint8_t pctantig = 0;
    std::string porcantig = "0 %";

    // Selected index of the zone list, -1 when none is selected.
    int zona = -1;

    CheckState opincentivo = CheckState::Checked;
    std::string dinasist = "0";

    CheckState transporte = CheckState::Unchecked;
    std::string cantkm = "0";
    CheckState hijos = CheckState::Unchecked;
    std::string cantidadhijos = "0";
    CheckState hijosdisc = CheckState::Unchecked;
    std::string cantidadhijosdisc = "0";
    CheckState conyuge = CheckState::Unchecked;

    CheckState iosper = CheckState::Unchecked;
    CheckState osplad = CheckState::Unchecked;
    CheckState aportejub = CheckState::Unchecked;
    CheckState ley4035 = CheckState::Unchecked;
    CheckState agmer = CheckState::Unchecked;
    CheckState cajacomp = CheckState::Unchecked;
    CheckState seguro3011 = CheckState::Unchecked;
};

// The position selection dialog's boxes as the calculation reads them when
// the kind is a position: the five value boxes, the texts of the selected
// rows of the code and base-point lists, and the name shown.
struct SelectedPosition {
    std::string punbas;
    std::string compbas;
    std::string proljor;
    std::string jorcom;
    std::string tardif;
    std::string codigocargo;
    std::string puntosbasicos;
    std::string cargox;
};

}  // namespace recibo::payroll
