// Runs that cannot be completed: the first text the run cannot use stops it,
// and the failure names that box, quotes its text and says why in Spanish.

#include "calculation_test_support.h"

namespace recibo::testing {
namespace {

using Failures = CalculationTest;

struct FailureCase {
    const char* name;
    void (*setUp)(EntryValues&, SelectedPosition&);
    const char* control;
    const char* messagePart;
};

void position(EntryValues& entry, SelectedPosition& selected)
{
    entry.kind = EmploymentKind::Position;
    selected = {"1500", "101", "0", "0", "0", "600", "1500", "Cargo"};
}

void middleHours(EntryValues& entry, SelectedPosition&)
{
    entry.kind = EmploymentKind::MiddleLevelHours;
    entry.numerohorasmed = "10";
}

const FailureCase kCases[] = {
    {"base points not a number",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.punbas = "abc";
     },
     "punbas", "«Puntos básicos» no tiene un número válido: «abc»"},
    {"no position chosen",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.punbas = "";
     },
     "punbas", "No hay un cargo elegido. Elegí un cargo en «Selección de cargo»"},
    {"base points blank",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.punbas = " ";
     },
     "punbas", "«Puntos básicos» está vacío"},
    {"base points beyond an Integer",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.punbas = "40000";
     },
     "punbas", "fuera del rango permitido (de -32768 a 32767)"},
    {"complement with an exponent",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.compbas = "1e3";
     },
     "compbas", "«Comp básico» no tiene un número válido"},
    {"full day beyond an Integer",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.jorcom = "32768";
     },
     "jorcom", "«Jorn. completa»"},
    {"extended day letters",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.proljor = "x";
     },
     "proljor", "«Prol. de jornada»"},
    {"differentiated task inf",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.tardif = "inf";
     },
     "tardif", "«Tarea diferenc.»"},
    {"differentiated task beyond Currency",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.tardif = "922337203685478";
     },
     "tardif", "fuera del rango permitido para un importe"},
    {"the first bad box is the one reported",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.jorcom = "bad";
         p.compbas = "bad too";
         e.transporte = CheckState::Checked;
         e.cantkm = "bad";
     },
     "compbas", "Comp básico"},
    {"complement too large for an amount",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.compbas = "1000000000000000";
     },
     "compbas", "da un importe demasiado grande"},
    {"an overflowing sum names the largest amount's box",
     [](EntryValues& e, SelectedPosition& p) {
         position(e, p);
         p.compbas = "900000000000000";
         p.tardif = "920000000000000";
     },
     "tardif", "importes demasiado grandes"},
    {"middle-level hours not a number",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.numerohorasmed = "diez";
     },
     "numerohorasmed", "«Número de horas N. Medio»"},
    {"higher-level hours too many digits",
     [](EntryValues& e, SelectedPosition&) {
         e.kind = EmploymentKind::HigherLevelHours;
         e.numerohorassup = std::string(400, '9');
     },
     "numerohorassup", "es demasiado grande"},
    {"higher-level hours too large for an amount",
     [](EntryValues& e, SelectedPosition&) {
         e.kind = EmploymentKind::HigherLevelHours;
         e.numerohorassup = "100000000000000";
     },
     "numerohorassup", "da un importe demasiado grande"},
    {"hours code 06",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.numhorascod06 = "12a";
     },
     "numhorascod06", "código 06"},
    {"incentive hours",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.numhorasincen = "0x10";
     },
     "numhorasincen", "incentivo"},
    {"hours code 113 hugely negative",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.numhorascod113 = "-1000000000000000";
     },
     "numhorascod113", "da un importe demasiado grande"},
    {"absence days",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.dinasist = "dos";
     },
     "dinasist", "inasistencia"},
    {"kilometres when ticked",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.transporte = CheckState::Checked;
         e.cantkm = "abc";
     },
     "cantkm", "«cantidad de km semanales» no tiene un número válido: «abc»"},
    {"kilometres beyond an Integer",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.transporte = CheckState::Checked;
         e.cantkm = "40000";
     },
     "cantkm", "(de -32768 a 32767)"},
    {"children beyond a Byte",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.hijos = CheckState::Checked;
         e.cantidadhijos = "300";
     },
     "cantidadhijos", "(de 0 a 255)"},
    {"disabled children empty",
     [](EntryValues& e, SelectedPosition& p) {
         middleHours(e, p);
         e.hijosdisc = CheckState::Checked;
         e.cantidadhijosdisc = " ";
     },
     "cantidadhijosdisc", "está vacío"},
};

TEST_P(Failures, NameTheBoxQuoteItsTextAndSayWhy)
{
    for (const FailureCase& c : kCases) {
        SCOPED_TRACE(c.name);
        entry = {};
        position = {};
        c.setUp(entry, position);
        const Unusable failure = runFailing();
        EXPECT_EQ(failure.where, c.control);
        EXPECT_NE(failure.message.find(c.messagePart), std::string::npos) << failure.message;
        // The text is quoted exactly as the box holds it.
        const std::string* boxText = nullptr;
        for (const std::string* candidate :
             {&position.punbas, &position.compbas, &position.jorcom, &position.proljor, &position.tardif,
              &entry.numerohorasmed, &entry.numerohorassup, &entry.numhorascod06, &entry.numhorasincen,
              &entry.numhorascod113, &entry.dinasist, &entry.cantkm, &entry.cantidadhijos, &entry.cantidadhijosdisc})
            if (failure.where == c.control && failure.text == *candidate)
                boxText = candidate;
        EXPECT_NE(boxText, nullptr) << "text \"" << failure.text << "\" is not the box's";
    }
}

TEST_P(Failures, UnreadBoxesDoNotMatter)
{
    middleHours(entry, position);
    entry.cantkm = "abc";          // transport not ticked
    entry.cantidadhijos = "abc";   // children not ticked
    entry.numerohorassup = "abc";  // the other level
    position.punbas = "abc";       // no position chosen
    EXPECT_NO_FATAL_FAILURE(run());
}

TEST_P(Failures, TheOtherRegionsDecimalSeparatorIsNotANumber)
{
    middleHours(entry, position);
    entry.numerohorasmed = settings().decimalSeparator == "." ? "12,5" : "12.5";
    EXPECT_EQ(runFailing().where, "numerohorasmed");
}

TEST_P(Failures, LongTextsAreShortenedInTheMessageOnly)
{
    middleHours(entry, position);
    entry.dinasist = std::string(50, 'x') + "ñ" + std::string(500, 'y');
    const Unusable failure = runFailing();
    EXPECT_EQ(failure.text, entry.dinasist);
    EXPECT_LT(failure.message.size(), 200u);
    EXPECT_NE(failure.message.find("…"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothSettings, Failures, kBothSettings, settingsName);

}  // namespace
}  // namespace recibo::testing
