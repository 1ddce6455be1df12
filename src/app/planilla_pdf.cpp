#include "planilla_pdf.h"

#include "page/page_files.h"
#include "page/sheet.h"
#include "payroll/calculation.h"

namespace recibo::app {

PlanillaPdfResult writePlanillaPdf(const table::Planilla& table, const scales::Scale& scale,
                                   const payroll::RegionalSettings& settings, const QString& date, const QString& path,
                                   const std::function<bool(int done, int total)>& going)
{
    PlanillaPdfResult result;
    receipt::PdfBook book(path, QStringLiteral("Recibos de haberes"));
    if (const QString problem = book.open(); !problem.isEmpty()) {
        result.problem = problem;
        return result;
    }
    const QString title = QString::fromStdString(scale.receiptTitle);
    const int total = static_cast<int>(table.rows());
    for (std::size_t row = 0; row < table.rows(); ++row) {
        const auto skip = [&](const std::string& why) {
            result.skipped << QStringLiteral("fila %1 (%2): %3")
                                  .arg(row + 1)
                                  .arg(QString::fromStdString(table.docente(row)), QString::fromStdString(why));
        };
        const auto input = table.input(row, scale.pay, scale.catalogue);
        if (const auto* bad = std::get_if<Unusable>(&input)) {
            skip(bad->message);
        } else {
            const auto& [entry, position] = std::get<table::RowInput>(input);
            const auto computed = payroll::calculate(entry, position, settings, scale.pay);
            if (const auto* failure = std::get_if<Unusable>(&computed)) {
                skip(failure->message);
            } else {
                const receipt::Sheet sheet =
                    receipt::receiptSheet(std::get<payroll::Receipt>(computed), position, date, title);
                if (const QString problem = book.addPage(sheet); !problem.isEmpty()) {
                    result.problem = problem;
                    return result;
                }
            }
        }
        if (!going(static_cast<int>(row) + 1, total)) {
            result.cancelled = true;
            return result;
        }
    }
    result.pages = book.pages();
    if (result.pages == 0) {
        result.problem = QStringLiteral("ningún docente de la planilla tiene recibo");
        return result;
    }
    result.problem = book.commit();
    result.saved = result.problem.isEmpty();
    return result;
}

}  // namespace recibo::app
