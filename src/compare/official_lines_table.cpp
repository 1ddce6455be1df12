#include "official_lines_table.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "payslip/comparison_report.h"
#include "payslip/official_amount.h"

namespace recibo::compare {

namespace {

// Hands each keystroke of a cell being typed to the table, so that the
// comparison follows the amount as it is typed, not only once it is left.
class LiveEditing : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            connect(line, &QLineEdit::textEdited, this,
                    [this, line] { emit const_cast<LiveEditing*>(this)->commitData(line); });
        return editor;
    }
};

}  // namespace

OfficialLinesTable::OfficialLinesTable(QWidget* parent) : QTableWidget(0, 2, parent)
{
    setObjectName(QStringLiteral("lineasoficiales"));
    setHorizontalHeaderLabels({QStringLiteral("Código"), QStringLiteral("Importe oficial")});
    setAccessibleName(QStringLiteral("Líneas del recibo oficial"));
    horizontalHeader()->setSectionResizeMode(CodeColumn, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(AmountColumn, QHeaderView::Stretch);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setTabKeyNavigation(false);
    setItemDelegate(new LiveEditing(this));  // Tab leaves the table, as everywhere else in the program
    keepOneEmptyRow();
    connect(this, &QTableWidget::itemChanged, this, [this] {
        keepOneEmptyRow();
        emit edited();
    });
}

QString OfficialLinesTable::cellText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text().trimmed() : QString();
}

void OfficialLinesTable::setCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

bool OfficialLinesTable::hasAmounts() const
{
    for (int row = 0; row < rowCount(); ++row)
        if (!cellText(row, AmountColumn).isEmpty())
            return true;
    return false;
}

OfficialLinesTable::Typed OfficialLinesTable::typed(const payroll::RegionalSettings& settings) const
{
    Typed result;
    if (pastedLeftOut_ > 0)
        result.problems << QStringLiteral(
                               "Se dejaron afuera las últimas %1 líneas pegadas: un recibo no tiene más de "
                               "%2 líneas. Revisá que copiaste sólo la columna de importes.")
                               .arg(pastedLeftOut_)
                               .arg(kMostRows);
    std::vector<std::pair<std::string, std::string>> rows;
    for (int row = 0; row < rowCount(); ++row)
        rows.emplace_back(cellText(row, CodeColumn).toStdString(), cellText(row, AmountColumn).toStdString());
    payslip::TypedLines read = payslip::readTypedLines(rows, settings);
    result.lines = std::move(read.lines);
    for (const std::string& problem : read.problems)
        result.problems << QString::fromStdString(problem);
    return result;
}

void OfficialLinesTable::offerCodes(const QStringList& codes)
{
    if (hasAmounts())
        return;
    setLines({}, {}, codes);
}

void OfficialLinesTable::setLines(const std::vector<payslip::OfficialLine>& lines,
                                  const payroll::RegionalSettings& settings, const QStringList& codes)
{
    {
        const QSignalBlocker quiet(this);
        setRowCount(0);
        QStringList left = codes;
        for (const payslip::OfficialLine& line : lines) {
            const int row = rowCount();
            insertRow(row);
            setCellText(row, CodeColumn, QString::fromStdString(line.code));
            setCellText(row, AmountColumn, QString::fromStdString(payslip::centsText(line.amount, settings)));
            left.removeOne(QString::fromStdString(line.code));
        }
        for (const QString& code : left) {
            const int row = rowCount();
            insertRow(row);
            setCellText(row, CodeColumn, code);
        }
        keepOneEmptyRow();
        // Typing starts at the first amount, as the keyboard finds the table.
        setCurrentCell(0, AmountColumn);
    }
    emit edited();
}

void OfficialLinesTable::keepOneEmptyRow()
{
    const QSignalBlocker quiet(this);
    const int last = rowCount() - 1;
    if (last < 0 || !cellText(last, CodeColumn).isEmpty() || !cellText(last, AmountColumn).isEmpty())
        insertRow(rowCount());
}

void OfficialLinesTable::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        clearSelected();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// Each line of the clipboard fills a row; its cells, separated by tabs as
// spreadsheets copy them, fill the columns from the current one.
void OfficialLinesTable::paste()
{
    QString text = QApplication::clipboard()->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList rows = text.split(QLatin1Char('\n'));
    while (!rows.isEmpty() && rows.constLast().trimmed().isEmpty())
        rows.removeLast();
    if (rows.isEmpty())
        return;
    const int firstRow = std::max(currentRow(), 0);
    const int firstColumn = std::max(currentColumn(), 0);
    pastedLeftOut_ = std::clamp(firstRow + static_cast<int>(rows.size()) - kMostRows, 0, static_cast<int>(rows.size()));
    rows = rows.mid(0, rows.size() - pastedLeftOut_);
    {
        const QSignalBlocker quiet(this);
        for (int i = 0; i < rows.size(); ++i) {
            const int row = firstRow + i;
            if (row >= rowCount())
                insertRow(row);
            const QStringList cells = rows[i].split(QLatin1Char('\t'));
            for (int j = 0; j < cells.size() && firstColumn + j < columnCount(); ++j)
                setCellText(row, firstColumn + j, cells[j].trimmed());
        }
        keepOneEmptyRow();
    }
    emit edited();
}

void OfficialLinesTable::clearSelected()
{
    const QList<QTableWidgetItem*> cells = selectedItems();
    if (cells.isEmpty())
        return;
    {
        const QSignalBlocker quiet(this);
        for (QTableWidgetItem* cell : cells)
            cell->setText(QString());
    }
    emit edited();
}

}  // namespace recibo::compare
