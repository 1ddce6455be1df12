#include "receipt_window.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QWheelEvent>

#include "page/receipt_layout.h"
#include "page/receipt_look.h"
#include "page/text_width.h"
#include "receipt_frame.h"
#include "receipt_grid.h"
#include "twip_line.h"
#include "twips.h"
#include "widgets/focus_colours.h"
#include "widgets/window_helpers.h"
#include "window_accessible.h"

namespace recibo::receipt {

namespace {

// The scroll value at which the frame stands at its design place, and the
// bar's two steps.
constexpr int kDesignScrollValue = 100;
constexpr int kScrollStep = 100;
constexpr int kScrollPage = 500;

// The frame grows at every scroll; it stops at the tallest widget Qt accepts.
constexpr int kTallestFrame = QWIDGETSIZE_MAX * kTwipsPerPixel;

using widgets::fillWith;

QWidget* createControl(const ControlDesign& design)
{
    switch (design.kind) {
    case Kind::Label: {
        auto* label = new QLabel(design.caption);
        label->setAlignment(alignmentOf(design.look));
        if (const int indent = indentOf(design.look))
            label->setIndent(indent);
        if (design.look & WhiteBackground) {
            label->setAutoFillBackground(true);
            fillWith(label, QPalette::Window, 0xFFFFFF);
        }
        return label;
    }
    case Kind::TextBox: {
        auto* box = new QLineEdit(design.caption);
        box->setAccessibleName(design.caption);
        if (design.background != kNoBackground)
            fillWith(box, QPalette::Base, design.background);
        return box;
    }
    case Kind::CommentBox: {
        auto* box = new QPlainTextEdit(design.caption);
        // Tab leaves the box, as from any other field: a receipt's comment
        // never needs a tab character.
        box->setTabChangesFocus(true);
        return box;
    }
    case Kind::Button: {
        auto* button = new QPushButton(design.caption);
        if (design.background != kNoBackground)
            fillWith(button, QPalette::Button, design.background);
        return button;
    }
    }
    return nullptr;
}

void applyLook(QWidget* control, const ControlDesign& design)
{
    if (design.look & (GridFont | TitleFont | Bold))
        control->setFont(designFont(design.look));
    control->setProperty("designFont", control->font());
    if (!design.tip.isEmpty())
        control->setToolTip(design.tip);
    if (design.look & StartsHidden)
        control->hide();
}

void moveTopTo(QWidget* control, int top)
{
    QRect at = twipsOf(control);
    at.moveTop(top);
    placeInTwips(control, at);
}

}  // namespace

// ---- Fitting texts -----------------------------------------------------------

namespace {

// The largest size, in quarter points down from the design's, at which
// `text` is no wider than `room`; no smaller than 6 points even if it does
// not fit there. A text's width grows about in proportion to its size, so
// the search starts at the size the proportion gives and steps from there:
// every size measured is a font Qt loads and keeps, and a long text walked
// down from 9.75 to 6.25 points loaded fifteen of them.
qreal largestFittingSize(const QFont& design, int room, const QString& text)
{
    constexpr qreal kSmallest = 6;
    constexpr qreal kStep = 0.25;
    const qreal designPoints = design.pointSizeF();
    QFont font = design;
    const auto fitsAt = [&](qreal points) {
        font.setPointSizeF(points);
        return textWidth(font, text) <= room;
    };
    const qreal width = textWidth(design, text);
    if (width <= room || designPoints <= kSmallest)
        return designPoints;
    // Whole steps below the design size, to the proportional size or past it.
    const qreal stepsDown = std::ceil((designPoints - designPoints * room / width) / kStep);
    qreal points = std::clamp(designPoints - stepsDown * kStep, kSmallest, designPoints - kStep);
    if (fitsAt(points)) {
        while (points + kStep < designPoints && fitsAt(points + kStep))
            points += kStep;
        return points;
    }
    while (points > kSmallest && !fitsAt(points - kStep))
        points -= kStep;
    return std::max(points - kStep, kSmallest);
}

}  // namespace

// A text wider than its control is drawn in a smaller size of the control's
// font rather than cut off: amounts, names and descriptions stay whole. The
// size found is kept with the control: a text shown again in the same room
// is not measured again.
qreal ReceiptWindow::fittingSize(const QObject* control, const QFont& design, int room, const QString& text)
{
    Fitting& fitting = fittings_[control];
    if (fitting.room < 0)
        fitting.design = design;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 0;
    if (fitting.room == room && fitting.dpi == dpi && fitting.text == text)
        return fitting.points;

    fitting.points = largestFittingSize(fitting.design, room, text);
    fitting.text = text;
    fitting.room = room;
    fitting.dpi = dpi;
    return fitting.points;
}

// A label's room is its width less its indent and a pixel each side; a box's
// also leaves out its frame and margins.
qreal ReceiptWindow::fittingSize(const QWidget* control, const QString& text)
{
    const auto* label = qobject_cast<const QLabel*>(control);
    const int frame = label ? 2 + std::max(label->indent(), 0) : 10;
    return fittingSize(control, control->property("designFont").value<QFont>(), control->width() - frame, text);
}

qreal ReceiptWindow::fittingSize(const GridCell* cell, const QString& text)
{
    return fittingSize(cell, cell->designFont(), cell->width() - 2, text);
}

// The control's designed font in the given size; a control already in it is
// left alone.
void ReceiptWindow::setPointSize(QWidget* control, qreal points)
{
    QFont font = control->property("designFont").value<QFont>();
    font.setPointSizeF(points);
    if (!control->testAttribute(Qt::WA_SetFont) || control->font() != font)
        control->setFont(font);
}

void ReceiptWindow::setPointSize(GridCell* cell, qreal points)
{
    cell->setPointSize(points);
}

void ReceiptWindow::fitText(QWidget* control, const QString& text)
{
    setPointSize(control, fittingSize(control, text));
}

// The texts of one column share one size: the largest at which all its shown
// texts fit. When none is shown, each text written keeps its own size.
template <typename Cell>
void ReceiptWindow::fitColumn(const QList<Cell*>& cells, const QList<bool>& written)
{
    qreal points = std::numeric_limits<qreal>::max();
    for (const Cell* cell : cells)
        if (!cell->isHidden())
            points = std::min(points, fittingSize(cell, cell->text()));
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (points != std::numeric_limits<qreal>::max())
            setPointSize(cells[i], points);
        else if (written[i])
            setPointSize(cells[i], fittingSize(cells[i], cells[i]->text()));
    }
}

ReceiptWindow::ReceiptWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    WindowAccessible::installFactory();  // before anything asks how the window is read
    setObjectName("Haberes");
    setWindowTitle("Haberes");
    setFont(windowFont());
    setAutoFillBackground(true);
    fillWith(this, QPalette::Window, kWindowBackground);
    resize(toPixels(kWindowWidth), toPixels(kWindowHeight));

    buildFrame();
    buildControls();
    buildGrid();
    buildLines();
    buildScrollBar();
    holdWhatTheCodeTouches();
    useClassicStyle();
    screenOnly_.front()->setFocus();  // "Volver"
}

// A control of the tables by its name, of the kind the code expects: a name
// or kind that does not match the tables stops the program at once, the
// first time any receipt window is built.
template <typename Control>
Control* ReceiptWindow::find(const char* name) const
{
    auto* found = qobject_cast<Control*>(control(QLatin1String(name)));
    if (!found)
        qFatal("the receipt window has no control %s of the expected kind", name);
    return found;
}

void ReceiptWindow::holdWhatTheCodeTouches()
{
    docente_ = find<QLabel>("docente");
    carsel_ = find<QLabel>("carsel");
    label11_ = find<QLabel>("Label11");
    numcargo_ = find<QLineEdit>("numcargo");
    punbasicos_ = find<QLineEdit>("punbasicos");
    compbas_ = find<QLineEdit>("compbas");
    proljor_ = find<QLineEdit>("proljor");
    jorcom_ = find<QLineEdit>("jorcom");
    tardif_ = find<QLineEdit>("tardif");
    date_ = find<QLineEdit>("Text10");
    for (const char* name : kTotals)
        totals_ << find<QLabel>(name);
    for (const char* name : kTotalCaptions)
        totalCaptions_ << find<QLabel>(name);
    // Each total is reached with Tab after the lines, and read with its
    // caption ("Liquido a pagar: $ 2717,6559"): a caption and an amount
    // apart are two texts a screen reader never puts together.
    QWidget* before = grid_;
    auto* focusColours = new widgets::FocusColours(this);
    for (QLabel* total : totals_) {
        total->setFocusPolicy(Qt::TabFocus);
        focusColours->watch(total);
        setTabOrder(before, total);
        before = total;
    }
    for (const char* name : kVerticalLines)
        verticalLines_ << find<TwipLine>(name);
    for (const char* name : kLowerRules)
        lowerRules_ << find<TwipLine>(name);
    for (const char* name : kPositionPoints)
        positionPoints_ << find<QWidget>(name);
    for (const char* name : kScreenOnly)
        screenOnly_ << find<QWidget>(name);
    for (const char* name : kMarginBoxes)
        marginBoxes_ << find<QLineEdit>(name);
    for (QWidget* box : marginBoxes_)
        WindowAccessible::leaveUnread(box);
    connect(find<QPushButton>("Volver"), &QPushButton::clicked, this, &ReceiptWindow::volverPressed);
    connect(find<QPushButton>("Salir"), &QPushButton::clicked, this, &ReceiptWindow::salirPressed);
    connect(find<QPushButton>("Imprimir"), &QPushButton::clicked, this, &ReceiptWindow::printRequested);
}

QString ReceiptWindow::docente() const
{
    return docente_->text();
}

// The receipt window is drawn in the classic style: etched frame, sunken
// boxes, flat coloured buttons. The window is painted whole every time a
// receipt is shown, and the shaded, rounded frame, boxes and scroll bar of
// other styles (Fusion's) take longer to paint than the whole receipt grid.
void ReceiptWindow::useClassicStyle()
{
    QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"));
    if (!classic)
        return;
    classic->setParent(this);
    setStyle(classic);
    for (QWidget* child : findChildren<QWidget*>())
        child->setStyle(classic);
}

// ---- Building from the tables ----------------------------------------------

void ReceiptWindow::buildFrame()
{
    sosten_ = new ReceiptFrame("Recibo de haberes", this);
    sosten_->setObjectName("sosten");
    sosten_->setAutoFillBackground(true);
    fillWith(sosten_, QPalette::Window, kFrameBackground);
    frameTop_ = kFrameAt.top();
    frameHeight_ = kFrameAt.height();
    placeFrame();
    controls_.insert("sosten", sosten_);
}

void ReceiptWindow::buildControls()
{
    for (const ControlDesign& design : receiptControls()) {
        QWidget* control = createControl(design);
        control->setObjectName(design.name);
        control->setParent(design.parent == Parent::Frame ? static_cast<QWidget*>(sosten_) : this);
        applyLook(control, design);
        placeInTwips(control, design.twips);
        if (design.kind == Kind::Label || design.kind == Kind::TextBox)
            fitText(control, design.caption);
        controls_.insert(design.name, control);
    }
    nameFieldsByTheirLabels();
}

// The panel's boxes are named, for screen readers, by the captions above them.
void ReceiptWindow::nameFieldsByTheirLabels()
{
    const std::pair<const char*, const char*> fields[] = {
        {"Label11", "numcargo"}, {"Label12", "punbasicos"}, {"Label2", "compbas"}, {"Label14", "proljor"},
        {"Label20", "jorcom"},   {"Label21", "tardif"},     {"Text12", "Text11"},
    };
    for (const auto& [caption, field] : fields) {
        QWidget* box = find<QWidget>(field);
        if (auto* label = qobject_cast<QLabel*>(control(QLatin1String(caption)))) {
            label->setBuddy(box);  // Label11's caption changes with the receipt: read through the buddy
            if (!label->text().isEmpty())
                box->setAccessibleName(label->text());
        } else {
            box->setAccessibleName(find<QLineEdit>(caption)->text());
        }
    }
    find<QLineEdit>("Text10")->setAccessibleName(QStringLiteral("Fecha"));
}

void ReceiptWindow::buildLines()
{
    for (const LineDesign& design : receiptLines()) {
        auto* line = new TwipLine(design.x1, design.y1, design.x2, design.y2, sosten_);
        line->setObjectName(design.name);
        controls_.insert(design.name, line);
    }
}

// The grid's cells and rules, all hidden until a receipt is written, kept by
// row for writing.
void ReceiptWindow::buildGrid()
{
    grid_ = new ReceiptGrid(sosten_);
    QHash<QString, GridCell*> byName;
    for (const ControlDesign& design : receiptGridCells()) {
        byName.insert(design.name,
                      grid_->addCell(design.name, design.twips, alignmentOf(design.look), designFont(design.look)));
    }
    for (const LineDesign& design : receiptGridRules())
        rowRules_.append(grid_->addRule(design.name, design.x1, design.y1, design.x2, design.y2));
    grid_->fitToContents();

    const auto column = [&byName](const char* array, int count) {
        QList<GridCell*> cells;
        for (int index = 0; index < count; ++index)
            cells.append(byName.value(arrayName(array, index)));
        return cells;
    };
    codes_ = column("cod", kGridRows);
    quantities_ = column("Label10", kGridRows);
    descriptions_ = column("Label19", kGridRows);
    amounts_ = column("Label1", 2 * kGridRows);
}

void ReceiptWindow::buildScrollBar()
{
    movedor_ = new QScrollBar(Qt::Vertical, this);
    movedor_->setObjectName("movedor");
    movedor_->setAccessibleName("Desplazar el recibo");
    movedor_->setRange(kDesignScrollValue, kDesignScrollValue);
    movedor_->setSingleStep(kScrollStep);
    movedor_->setPageStep(kScrollPage);
    movedor_->setValue(kDesignScrollValue);
    controls_.insert("movedor", movedor_);
    fitScrollBar();
    connect(movedor_, &QScrollBar::valueChanged, this, &ReceiptWindow::onScrolled);
}

// ---- Showing a receipt -------------------------------------------------------

void ReceiptWindow::showReceipt(const payroll::Receipt& receipt, const QString& date)
{
    fillReceipt(receipt, date);
    showFilled();
}

void ReceiptWindow::showReceipt(const payroll::Receipt& receipt, const payroll::SelectedPosition& position,
                                const QString& date)
{
    fillReceipt(receipt, position, date);
    showFilled();
}

void ReceiptWindow::showFilled()
{
    // Enabled while still hidden: its controls then have nothing to repaint
    // for the change, as they are all painted once shown.
    setEnabled(true);
    widgets::showInFront(this);
}

void ReceiptWindow::fillReceipt(const payroll::Receipt& receipt, const payroll::SelectedPosition& position,
                                const QString& date)
{
    if (receipt.header.showsPositionPoints)
        showPositionPanel({position.codigocargo, position.punbas, position.compbas, position.proljor, position.jorcom,
                           position.tardif});
    fillReceipt(receipt, date);
}

void ReceiptWindow::fillReceipt(const payroll::Receipt& receipt, const QString& date)
{
    writeGrid(receipt.lines);
    writeHeader(receipt.header);
    placeLowerPart(receipt.rowsWritten());
    const std::string* amounts[] = {&receipt.thaberes, &receipt.tdescuentos, &receipt.liquido};
    for (int i = 0; i < 3; ++i) {
        totals_[i]->setText(QString::fromStdString(*amounts[i]));
        totals_[i]->setAccessibleName(totalCaptions_[i]->text() + QStringLiteral(": ") + totals_[i]->text());
    }
    fitColumn(totals_, {true, true, true});
    showExplanations(receipt);
    setCaption(docente_, QString::fromStdString(receipt.docente));
    setText(date_, date);
}

// Every cell goes straight to its state for this receipt, its text written
// and shown or hidden once: a cell hidden and shown again in the same run
// would be laid out, announced and repainted for nothing.
void ReceiptWindow::writeGrid(const std::vector<payroll::ReceiptLine>& lines)
{
    const int rows = std::min(static_cast<int>(lines.size()), kGridRows);
    QList<bool> rowWritten(kGridRows, false), quantityShown(kGridRows, false), amountWritten(2 * kGridRows, false);
    for (int row = 0; row < rows; ++row) {
        const payroll::ReceiptLine& line = lines[row];
        const int amountIndex = line.column == payroll::Column::Earnings ? row : row + kDeductionsOffset;
        codes_[row]->setText(QString::fromUtf8(line.code.data(), line.code.size()));
        quantities_[row]->setText(QString::fromStdString(line.quantity));
        descriptions_[row]->setText(QString::fromUtf8(line.description.data(), line.description.size()));
        amounts_[amountIndex]->setText(QString::fromStdString(line.amount));
        rowWritten[row] = true;
        quantityShown[row] = line.showsQuantity;
        amountWritten[amountIndex] = true;
    }
    for (int row = 0; row < kGridRows; ++row) {
        codes_[row]->setVisible(rowWritten[row]);
        quantities_[row]->setVisible(quantityShown[row]);
        descriptions_[row]->setVisible(rowWritten[row]);
        amounts_[row]->setVisible(amountWritten[row]);
        amounts_[row + kDeductionsOffset]->setVisible(amountWritten[row + kDeductionsOffset]);
        rowRules_[row]->setVisible(rowWritten[row]);
    }
    fitColumn(codes_, rowWritten);
    fitColumn(quantities_, rowWritten);
    fitColumn(descriptions_, rowWritten);
    fitColumn(amounts_, amountWritten);
}

// A grid row as screen readers read it: its box, and each cell's box and
// the text it shows.
ReceiptGrid::Row ReceiptWindow::gridRow(int row) const
{
    ReceiptGrid::Row shown;
    const QRect code = codes_[row]->geometry();
    shown.box = QRect(grid_->x(), code.y(), grid_->width(), code.height());
    const GridCell* cells[] = {codes_[row], quantities_[row], descriptions_[row], amounts_[row],
                               amounts_[row + kDeductionsOffset]};
    for (std::size_t column = 0; column < shown.cells.size(); ++column) {
        shown.cellBoxes[column] = cells[column]->geometry();
        if (!cells[column]->isHidden())
            shown.cells[column] = cells[column]->text();
    }
    return shown;
}

// Each row's and each total's explanation, when the receipt has them.
void ReceiptWindow::showExplanations(const payroll::Receipt& receipt)
{
    const int rows = std::min(static_cast<int>(receipt.lines.size()), kGridRows);
    QList<ReceiptGrid::Row> shown;
    for (int row = 0; row < rows; ++row) {
        shown << gridRow(row);
        const std::string_view explanation = receipt.explanation(static_cast<std::size_t>(row));
        shown.back().explanation = QString::fromUtf8(explanation.data(), static_cast<qsizetype>(explanation.size()));
    }
    grid_->setRows(std::move(shown));
    const payroll::ReceiptExplanations none;
    const payroll::ReceiptExplanations& texts3 = receipt.explanations ? *receipt.explanations : none;
    const payroll::ReceiptExplanations::Range totals[] = {texts3.thaberes, texts3.tdescuentos, texts3.liquido};
    for (int i = 0; i < 3; ++i) {
        const std::string_view explanation = texts3.of(totals[i]);
        const QString text = QString::fromUtf8(explanation.data(), static_cast<qsizetype>(explanation.size()));
        totals_[i]->setToolTip(widgets::readableTip(text));
        totals_[i]->setAccessibleDescription(text);
    }
}

void ReceiptWindow::writeHeader(const payroll::ReceiptHeader& header)
{
    setCaption(label11_, QString::fromUtf8(header.label11.data(), header.label11.size()));
    setText(numcargo_, QString::fromStdString(header.numcargo));
    setText(punbasicos_, QString::fromStdString(header.punbasicos));
    setCaption(carsel_, QString::fromStdString(header.carsel));
    for (QWidget* control : positionPoints_)
        control->setVisible(header.showsPositionPoints);
}

// The lines and totals under the grid follow its last written row.
void ReceiptWindow::placeLowerPart(int rowsWritten)
{
    const LowerPartPlacement at = receipt::placeLowerPart(rowsWritten);
    for (TwipLine* vertical : verticalLines_)
        vertical->setY2(at.verticalLinesBottom);
    const int rules[] = {at.line6, at.line15, at.line16, at.line17};
    const int totals[] = {at.totalEarningsTop, at.totalDeductionsTop, at.netPayTop};
    for (int i = 0; i < 4; ++i) {
        lowerRules_[i]->setY1(rules[i]);
        lowerRules_[i]->setY2(rules[i]);
    }
    for (int i = 0; i < 3; ++i) {
        moveTopTo(totals_[i], totals[i]);
        moveTopTo(totalCaptions_[i], totals[i]);
    }
}

void ReceiptWindow::showPositionPanel(const PositionPanel& panel)
{
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    setText(numcargo_, text(panel.numcargo));
    setText(punbasicos_, text(panel.punbasicos));
    setText(proljor_, text(panel.proljor));
    setText(jorcom_, text(panel.jorcom));
    setText(tardif_, text(panel.tardif));
    setText(compbas_, text(panel.compbas));
}

void ReceiptWindow::setScaleTitle(const QString& title)
{
    static_cast<QLabel*>(control("Label3"))->setText(title);
}

// Enter presses the button that has the focus, as Space does: only dialogs
// would do it by themselves.
void ReceiptWindow::keyPressEvent(QKeyEvent* event)
{
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && button && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ReceiptWindow::putAway()
{
    setEnabled(false);
    hide();
}

void ReceiptWindow::setCaption(QLabel* label, const QString& text)
{
    label->setText(text);
    fitText(label, text);
}

void ReceiptWindow::setText(QLineEdit* box, const QString& text)
{
    box->setText(text);
    box->setCursorPosition(0);
    fitText(box, text);
}

// ---- Scrolling and resizing ------------------------------------------------

// The frame's top follows the bar (value 100: its design place) and the
// frame grows by the value at every change, so that its lower edge never
// rises into the window.
void ReceiptWindow::onScrolled(int value)
{
    const int top = kDesignScrollValue - value;
    if (top < std::numeric_limits<std::int16_t>::min() || top > std::numeric_limits<std::int16_t>::max())
        return;
    frameTop_ = top;
    if (value > 0)
        frameHeight_ = frameHeight_ > kTallestFrame - value ? kTallestFrame : frameHeight_ + value;
    placeFrame();
}

void ReceiptWindow::placeFrame()
{
    placeInTwips(sosten_, QRect(kFrameAt.left(), frameTop_, kFrameAt.width(), frameHeight_));
}

// The bar is as tall as the window's outer height less 400 twips, never
// negative and never past the window's lower edge. Its range lets the
// frame's lower edge come up to the window's lower edge.
void ReceiptWindow::fitScrollBar()
{
    const int outerHeight = frameGeometry().height() * kTwipsPerPixel;
    const int innerHeight = height() * kTwipsPerPixel;
    const int barHeight = std::clamp(outerHeight - kScrollBarShorterBy, 0, innerHeight);
    placeInTwips(movedor_, QRect(kScrollBarX, 0, kScrollBarWidth, barHeight));
    movedor_->setMaximum(kDesignScrollValue + std::max(0, kFrameAt.height() - innerHeight));
}

void ReceiptWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitScrollBar();
}

// The wheel moves the receipt wherever the pointer is over the window, not
// only over the bar: the bar gets what nothing under the pointer took.
void ReceiptWindow::wheelEvent(QWheelEvent* event)
{
    QCoreApplication::sendEvent(movedor_, event);
}

void ReceiptWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closedByUser();
}

}  // namespace recibo::receipt
