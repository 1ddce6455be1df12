#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QString>
#include <QWidget>

#include "payroll/receipt.h"
#include "payroll/regional_settings.h"
#include "payslip/likely_causes.h"
#include "payslip/payslip_check.h"
#include "scales/scale.h"
#include "table/row_input.h"

class QLabel;
class QTableWidget;

namespace recibo::widgets {
class Announcer;
}

namespace recibo::compare {

class OfficialLinesTable;

// "Comparar con el recibo oficial": the official payslip typed line by line
// beside the receipt computed for the same teacher, every line and total
// compared as the user types, the explanation of each amount of ours, and
// the single changes of the teacher's data that would explain the
// differences.
class PayslipWindow : public QWidget {
    Q_OBJECT
public:
    // The receipt compared against, and what it was computed from.
    struct Computed {
        payroll::Receipt receipt;  // with its explanations
        table::RowInput teacher;
        std::shared_ptr<const scales::Scale> scale;
        std::vector<std::shared_ptr<const scales::Scale>> otherScales;
    };

    explicit PayslipWindow(payroll::RegionalSettings settings, QWidget* parent = nullptr);
    ~PayslipWindow() override;

    // A new receipt: the comparison is made again with what is typed, and
    // the receipt's codes are offered when nothing is typed yet.
    void compareWith(Computed computed);
    // The official lines of another teacher (none for a new one).
    void setOfficialLines(const std::vector<payslip::OfficialLine>& lines);
    // The official lines as typed, the ones that can be read.
    std::vector<payslip::OfficialLine> officialLines() const;
    // The comparison as it prints on the page after the receipt (rich
    // text); empty while there is nothing to compare.
    QString printedText() const;

signals:
    // The user changed the official lines.
    void officialLinesEdited();

private:
    void compare();
    void showLines();
    void showCauses();
    void showExplanation(int row);
    QStringList receiptCodes() const;

    payroll::RegionalSettings settings_;
    std::optional<Computed> computed_;
    std::optional<payslip::PayslipCheck> check_;
    std::vector<payslip::Suggestion> causes_;
    QStringList problems_;
    bool filling_ = false;  // lines set by the program, not edited by the user

    OfficialLinesTable* official_ = nullptr;
    QTableWidget* comparison_ = nullptr;
    widgets::Announcer* announcer_ = nullptr;
    QLabel *problemsLabel_ = nullptr, *verdict_ = nullptr, *causesLabel_ = nullptr, *explanation_ = nullptr;
};

}  // namespace recibo::compare
