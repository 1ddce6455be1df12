#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "payroll/regional_settings.h"
#include "scales/scale.h"
#include "table/planilla.h"

namespace recibo::app {

// "Recibos de la planilla en PDF…": every teacher's receipt, the page
// "Imprimir" prints, in one PDF file in the planilla's order. Rows that
// cannot be computed have no page and are reported.
struct PlanillaPdfResult {
    bool saved = false;
    bool cancelled = false;
    int pages = 0;
    QStringList skipped;  // "fila 3 (Pérez, Ana): …", one per row without a page
    QString problem;      // why the file was not saved, in Spanish
};

// Writes the file at `path`; `going(done, total)` is told after each row
// and stops the work when it answers false: the file is then not written
// at all, and one that was there stays as it was.
PlanillaPdfResult writePlanillaPdf(const table::Planilla& table, const scales::Scale& scale,
                                   const payroll::RegionalSettings& settings, const QString& date, const QString& path,
                                   const std::function<bool(int done, int total)>& going);

}  // namespace recibo::app
