#include "payslip_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "official_lines_table.h"
#include "payslip/comparison_report.h"
#include "widgets/announcer.h"
#include "widgets/window_helpers.h"

namespace recibo::compare {

namespace {

// A differing row stands out by its colour and, for those who do not see
// it, by its state written in words.
const QColor kDiffersGround(0xFF, 0xDD, 0xDD);

QLabel* wrappingLabel(const QString& name)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

constexpr const char* kRounding =
    "Lo calculado se redondea a centavos como lo imprime el recibo (medio centavo hacia arriba); una diferencia de "
    "menos de medio centavo no es una diferencia.";

}  // namespace

PayslipWindow::PayslipWindow(payroll::RegionalSettings settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(std::move(settings))
{
    setObjectName(QStringLiteral("compararoficial"));
    setWindowTitle(QStringLiteral("Comparar con el recibo oficial"));

    auto* intro = wrappingLabel(QStringLiteral("instrucciones"));
    intro->setText(
        QStringLiteral("Escribí cada línea del recibo oficial: el código y el importe como figuran impresos. "
                       "También podés pegar (Ctrl+V) una columna de importes copiada de una planilla de "
                       "cálculo. ")
        + QLatin1String(kRounding));

    official_ = new OfficialLinesTable;
    comparison_ = new QTableWidget(0, 6);
    comparison_->setObjectName(QStringLiteral("comparacion"));
    comparison_->setAccessibleName(QStringLiteral("Comparación línea por línea"));
    comparison_->setHorizontalHeaderLabels({QStringLiteral("Código"), QStringLiteral("Descripción"),
                                            QStringLiteral("Oficial"), QStringLiteral("Calculado"),
                                            QStringLiteral("Diferencia"), QStringLiteral("Estado")});
    comparison_->verticalHeader()->setVisible(false);
    // Rows as tall as a line of text: more of a 26-line receipt in view.
    comparison_->verticalHeader()->setDefaultSectionSize(comparison_->fontMetrics().height() + 6);
    comparison_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    comparison_->setSelectionBehavior(QAbstractItemView::SelectRows);
    comparison_->setSelectionMode(QAbstractItemView::SingleSelection);
    comparison_->setTabKeyNavigation(false);
    comparison_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    comparison_->horizontalHeader()->setStretchLastSection(true);

    auto* split = new QSplitter;
    split->addWidget(official_);
    split->addWidget(comparison_);
    split->setStretchFactor(1, 3);
    split->setChildrenCollapsible(false);

    problemsLabel_ = wrappingLabel(QStringLiteral("problemas"));
    problemsLabel_->setStyleSheet(QStringLiteral("color: #a00000"));
    verdict_ = wrappingLabel(QStringLiteral("resultado"));
    QFont bold = verdict_->font();
    bold.setBold(true);
    verdict_->setFont(bold);
    causesLabel_ = wrappingLabel(QStringLiteral("causas"));
    explanation_ = wrappingLabel(QStringLiteral("explicacion"));

    auto* close = new QPushButton(QStringLiteral("Cerrar"));
    close->setObjectName(QStringLiteral("cerrarcomparacion"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    announcer_ = new widgets::Announcer(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(split, 1);
    layout->addWidget(problemsLabel_);
    layout->addWidget(verdict_);
    layout->addWidget(causesLabel_);
    layout->addWidget(explanation_);
    layout->addLayout(buttons);
    resize(900, 640);

    connect(official_, &OfficialLinesTable::edited, this, [this] {
        compare();
        if (!filling_)
            emit officialLinesEdited();
    });
    connect(comparison_, &QTableWidget::currentCellChanged, this, [this](int row) { showExplanation(row); });
    compare();
}

PayslipWindow::~PayslipWindow()
{
    widgets::stopHearingControls(this);
}

QStringList PayslipWindow::receiptCodes() const
{
    QStringList codes;
    if (computed_)
        for (const payroll::ReceiptLine& line : computed_->receipt.lines)
            codes << QString::fromUtf8(line.code.data(), static_cast<qsizetype>(line.code.size()));
    return codes;
}

void PayslipWindow::compareWith(Computed computed)
{
    computed_ = std::move(computed);
    filling_ = true;
    official_->offerCodes(receiptCodes());
    filling_ = false;
    compare();
}

void PayslipWindow::setOfficialLines(const std::vector<payslip::OfficialLine>& lines)
{
    filling_ = true;
    official_->setLines(lines, settings_, receiptCodes());
    filling_ = false;
}

std::vector<payslip::OfficialLine> PayslipWindow::officialLines() const
{
    return official_->typed(settings_).lines;
}

void PayslipWindow::compare()
{
    OfficialLinesTable::Typed typed = official_->typed(settings_);
    problems_ = std::move(typed.problems);
    check_.reset();
    causes_.clear();
    if (computed_ && !typed.lines.empty()) {
        check_ = payslip::checkPayslip(computed_->receipt, typed.lines);
        if (!check_->matches()) {
            std::vector<const scales::Scale*> others;
            for (const auto& scale : computed_->otherScales)
                others.push_back(scale.get());
            causes_ = payslip::likelyCauses(computed_->teacher, typed.lines, *computed_->scale, settings_, others);
        }
    }
    problemsLabel_->setText(problems_.join(QLatin1Char('\n')));
    problemsLabel_->setVisible(!problems_.isEmpty());
    showLines();
    showCauses();
}

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

void PayslipWindow::showLines()
{
    const std::vector<payslip::ComparisonRow> rows = !computed_ ? std::vector<payslip::ComparisonRow>()
        : check_ ? payslip::comparisonRows(*check_, computed_->receipt, settings_, causes_, computed_->scale->catalogue)
                 : payslip::receiptRows(computed_->receipt, settings_);
    const int current = comparison_->currentRow();
    comparison_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const payslip::ComparisonRow& row = rows[static_cast<std::size_t>(r)];
        const std::string* cells[] = {&row.code,     &row.description, &row.official,
                                      &row.computed, &row.difference,  &row.status};
        const QString explanation = fromStd(row.explanation);
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(fromStd(*cells[c]));
            if (c >= 2 && c <= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row.differs) {
                item->setBackground(kDiffersGround);
                item->setForeground(Qt::black);
            }
            item->setToolTip(widgets::readableTip(explanation));
            item->setData(Qt::UserRole, explanation);
            comparison_->setItem(r, c, item);
        }
        if (row.differs) {
            QFont bold = comparison_->item(r, 5)->font();
            bold.setBold(true);
            comparison_->item(r, 5)->setFont(bold);
        }
    }
    if (current >= 0 && current < comparison_->rowCount())
        comparison_->setCurrentCell(current, 0);
    showExplanation(comparison_->currentRow());
}

void PayslipWindow::showCauses()
{
    QString verdict;
    QStringList causes;
    if (!computed_) {
        verdict = QStringLiteral("No hay un recibo calculado: calculá el recibo del docente para compararlo.");
    } else if (!check_) {
        verdict =
            QString::fromUtf8(payslip::kTypeTheAmounts.data(), static_cast<qsizetype>(payslip::kTypeTheAmounts.size()));
    } else {
        const payslip::Verdict said = payslip::verdictOf(*check_, causes_, computed_->scale->catalogue);
        verdict = fromStd(said.text);
        for (const std::string& cause : said.causes)
            causes << fromStd(cause);
    }
    // Said to a screen reader as it changes, while the focus stays where the
    // amounts are typed.
    if (verdict != verdict_->text())
        announcer_->announce(verdict);
    verdict_->setText(verdict);
    causesLabel_->setText(
        causes.isEmpty() ? QString() : QStringLiteral("Causas probables:\n• ") + causes.join(QStringLiteral("\n• ")));
    causesLabel_->setVisible(!causes.isEmpty());
}

void PayslipWindow::showExplanation(int row)
{
    const QTableWidgetItem* item = row >= 0 ? comparison_->item(row, 1) : nullptr;
    const QString text = item ? item->data(Qt::UserRole).toString() : QString();
    explanation_->setText(text.isEmpty() ? QString()
                                         : QStringLiteral("%1: %2").arg(
                                             comparison_->item(row, 0)->text().isEmpty()
                                                 ? item->text()
                                                 : QStringLiteral("Línea %1").arg(comparison_->item(row, 0)->text()),
                                             text));
    explanation_->setVisible(!text.isEmpty());
}

QString PayslipWindow::printedText() const
{
    if (!computed_ || !check_)
        return {};
    QString html = QStringLiteral("<h3>Comparación con el recibo oficial</h3>");
    if (!computed_->receipt.docente.empty())
        html += QStringLiteral("<p>%1</p>").arg(QString::fromStdString(computed_->receipt.docente).toHtmlEscaped());
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>");
    for (const char* header : {"Código", "Descripción", "Oficial", "Calculado", "Diferencia", "Estado"})
        html += QStringLiteral("<th>%1</th>").arg(QString::fromUtf8(header));
    html += QStringLiteral("</tr>");
    for (const payslip::ComparisonRow& row :
         payslip::comparisonRows(*check_, computed_->receipt, settings_, {}, computed_->scale->catalogue)) {
        const QString weight = row.differs ? QStringLiteral(" style=\"font-weight:bold\"") : QString();
        html += QStringLiteral(
                    "<tr%1><td>%2</td><td>%3</td><td align=\"right\">%4</td><td align=\"right\">%5</td>"
                    "<td align=\"right\">%6</td><td>%7</td></tr>")
                    .arg(weight, fromStd(row.code).toHtmlEscaped(), fromStd(row.description).toHtmlEscaped(),
                         fromStd(row.official).toHtmlEscaped(), fromStd(row.computed).toHtmlEscaped(),
                         fromStd(row.difference).toHtmlEscaped(), fromStd(row.status).toHtmlEscaped());
    }
    html += QStringLiteral("</table>");
    html += QStringLiteral("<p><b>%1</b></p>").arg(verdict_->text().toHtmlEscaped());
    if (causesLabel_->isVisibleTo(this))
        html += QStringLiteral("<p>%1</p>")
                    .arg(causesLabel_->text().toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    html += QStringLiteral("<p>%1</p>").arg(QString::fromUtf8(kRounding).toHtmlEscaped());
    return html;
}

}  // namespace recibo::compare
