#pragma once

#include <vector>

#include <QStringList>
#include <QTableWidget>

#include "payroll/regional_settings.h"
#include "payslip/payslip_check.h"

namespace recibo::compare {

// Where the user types the official payslip, a line per row: its code and
// its amount as printed. The codes of the computed receipt are offered in
// order, so that most lines need only their amount; a row is always left
// empty at the end for one more line. A column of amounts (or of codes and
// amounts) pasted from a spreadsheet fills the rows down from the current
// cell, adding rows as needed.
class OfficialLinesTable : public QTableWidget {
    Q_OBJECT
public:
    enum ColumnIndex { CodeColumn, AmountColumn };
    // More lines than any payslip has: a paste is cut there (and said so),
    // so that a whole spreadsheet pasted by mistake cannot stall the window.
    static constexpr int kMostRows = 100;

    explicit OfficialLinesTable(QWidget* parent = nullptr);

    // The payslip as typed: the rows with an amount, and why each of the
    // others with something typed in them cannot be read (row by row, in
    // Spanish); the rows that cannot be read are left out of the payslip.
    struct Typed {
        std::vector<payslip::OfficialLine> lines;
        QStringList problems;
    };
    Typed typed(const payroll::RegionalSettings& settings) const;

    // Offers `codes` when no amount has been typed yet; once one has, what
    // the user typed stays as it is.
    void offerCodes(const QStringList& codes);
    // The rows of `lines` (code, amount in the regional convention), and the
    // receipt's codes the payslip leaves out after them, to be filled in.
    void setLines(const std::vector<payslip::OfficialLine>& lines, const payroll::RegionalSettings& settings,
                  const QStringList& codes);
    bool hasAmounts() const;

signals:
    // Any change to what is typed.
    void edited();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paste();
    void clearSelected();
    void keepOneEmptyRow();
    QString cellText(int row, int column) const;
    int pastedLeftOut_ = 0;  // lines of the last paste beyond kMostRows
    void setCellText(int row, int column, const QString& text);
};

}  // namespace recibo::compare
