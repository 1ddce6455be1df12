// The receipt window on its own: its controls where the layout puts them,
// the grid and totals of a receipt, scrolling and resizing.

#include <memory>

#include <QAccessible>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "gui_driver.h"
#include "receipt/receipt_grid.h"
#include "receipt/receipt_window.h"
#include "receipt/twips.h"

using recibo::payroll::Column;
using recibo::payroll::Receipt;
using recibo::payroll::ReceiptLine;
using recibo::receipt::GridCell;
using recibo::receipt::ReceiptGrid;
using recibo::receipt::ReceiptWindow;
using recibo::receipt::twipsOf;

namespace {

const QString kWin = QStringLiteral("Haberes");

QString cell(const char* array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

bool shown(const QString& name)
{
    return !gui::isHidden(kWin, name);
}

// A control or a part the grid draws, by name.
QObject* part(const QString& name)
{
    QObject* found = gui::window(kWin)->findChild<QObject*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

int lineY(const QString& name, const char* end)
{
    return part(name)->property(end).toInt();
}

// Whether any pixel of the window's picture inside `area` (window pixels)
// is darker than the frame's pale yellow: a text or a rule drawn there.
bool inked(const QImage& picture, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(picture.pixel(x, y)) < 160)
                return true;
    return false;
}

// A receipt of `earnings` earnings lines then `deductions` deduction lines.
Receipt receiptWith(int earnings, int deductions)
{
    Receipt receipt;
    for (int i = 0; i < earnings; ++i)
        receipt.lines.push_back({.code = "010",
                                 .description = "Antigüedad",
                                 .quantity = QStringLiteral("%1 %").arg(i).toStdString(),
                                 .amount = QStringLiteral("$ %1").arg(100 + i).toStdString(),
                                 .column = Column::Earnings});
    for (int i = 0; i < deductions; ++i)
        receipt.lines.push_back({.code = "505",
                                 .description = "IOSPER",
                                 .quantity = "3 %",
                                 .amount = QStringLiteral("$ %1").arg(10 + i).toStdString(),
                                 .column = Column::Deductions});
    receipt.header = {"Código del cargo", "645", "2329", "Asesor Pedag Proyecto 13", true};
    receipt.docente = "Pérez, María";
    receipt.thaberes = "$ 1000";
    receipt.tdescuentos = "$ 100";
    receipt.liquido = "$ 900";
    return receipt;
}

}  // namespace

class ReceiptWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { gui::quietPlatformWarnings(); }
    void init()
    {
        window_ = std::make_unique<ReceiptWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void placesInTwips_data();
    void placesInTwips();
    void designState();
    void writesEarningsAndDeductions();
    void lineWithoutQuantity();
    void fewerLinesHideTheOldRows();
    void lowerPartFollowsTheLastRow_data();
    void lowerPartFollowsTheLastRow();
    void headerForHoursHidesThePositionPoints();
    void headerFields();
    void longTextsAreNotCut();
    void gridDrawsWhatItShows();
    void gridIsReadAsATable();
    void frameDrawsCaptionAndEdge();
    void scrolling();
    void frameGrowthStaysWithinLimits();
    void resizing_data();
    void resizing();
    void buttons();
    void putAwayAndShownAgain();
    void positionPanel();

private:
    std::unique_ptr<ReceiptWindow> window_;
};

void ReceiptWindowTest::placesInTwips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("sosten") << "sosten" << QRect(840, 0, 6840, 12000);
    QTest::newRow("Label18") << "Label18" << QRect(360, 240, 2295, 375);
    QTest::newRow("docente") << "docente" << QRect(3030, 210, 3135, 375);
    QTest::newRow("cod(0)") << "cod(0)" << QRect(510, 735, 495, 300);
    QTest::newRow("Label10(5)") << "Label10(5)" << QRect(1140, 735 + 5 * 315, 495, 300);
    QTest::newRow("Label19(26)") << "Label19(26)" << QRect(1770, 8925, 2355, 300);
    QTest::newRow("Label3") << "Label3" << QRect(7680, 0, 3495, 375);
    QTest::newRow("carsel") << "carsel" << QRect(7680, 480, 3480, 300);
    QTest::newRow("numcargo") << "numcargo" << QRect(7920, 1200, 1275, 360);
    QTest::newRow("tardif") << "tardif" << QRect(7980, 5985, 1275, 360);
    QTest::newRow("Text11") << "Text11" << QRect(9720, 1920, 1695, 2895);
    QTest::newRow("Volver") << "Volver" << QRect(9840, 4920, 1335, 495);
    QTest::newRow("Imprimir") << "Imprimir" << QRect(9840, 5640, 1335, 495);
    QTest::newRow("Salir") << "Salir" << QRect(9840, 6360, 1335, 495);
    QTest::newRow("Text10") << "Text10" << QRect(8880, 7680, 2415, 375);
    QTest::newRow("Text8") << "Text8" << QRect(120, 3720, 615, 255);
}

void ReceiptWindowTest::placesInTwips()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QObject* control = part(name);
    QCOMPARE(control->property("twips").toRect(), twips);
    const auto* cell = qobject_cast<const GridCell*>(control);
    const QRect pixels = cell ? cell->geometry() : static_cast<QWidget*>(control)->geometry();
    // 15 twips to the pixel, rounded.
    QCOMPARE(pixels,
             QRect(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                   qRound(twips.height() / 15.0)));
}

void ReceiptWindowTest::designState()
{
    QCOMPARE(window_->windowTitle(), QString("Haberes"));
    QCOMPARE(window_->size(), QSize(792, 566));  // 11880 x 8490 twips
    for (int r = 0; r < 27; ++r)
        for (const QString& name : {cell("cod", r), cell("Label10", r), cell("Label19", r), cell("Label1", r),
                                    cell("Label1", r + 27), cell("Line8", r)})
            QVERIFY2(!shown(name), qPrintable(name));
    QVERIFY(!window_->findChild<QObject*>("cod(27)") && !window_->findChild<QObject*>("Label1(54)"));
    for (int t = 2; t <= 9; ++t) {
        QVERIFY(!shown(QStringLiteral("Text%1").arg(t)));
        QCOMPARE(gui::box(kWin, QStringLiteral("Text%1").arg(t))->text(), QString("AGMER"));
    }
    QCOMPARE(gui::caption(kWin, "Label15"), QString("Total Haberes"));
    QCOMPARE(gui::caption(kWin, "Label16"), QString("Total descuentos"));
    QCOMPARE(gui::caption(kWin, "Label17"), QString("Liquido a pagar"));
    QCOMPARE(gui::box(kWin, "Text12")->text(), QString("Poné tu comentario"));
    QCOMPARE(gui::box(kWin, "Text1")->text(), QString("Se imprime en blanco y negro"));
    QCOMPARE(gui::button(kWin, "Volver")->toolTip(), QString("Permite cambiar los datos ingresados"));
    QCOMPARE(gui::button(kWin, "Imprimir")->toolTip(), QString("Se imprime con fondo blanco."));
    QCOMPARE(window_->palette().color(QPalette::Window), QColor(255, 192, 192));
    QCOMPARE(gui::control(kWin, "sosten")->palette().color(QPalette::Window), QColor(255, 255, 192));
    QCOMPARE(gui::button(kWin, "Salir")->palette().color(QPalette::Button), QColor(0, 128, 128));
    QCOMPARE(lineY("Line4", "y1"), 735);
    QCOMPARE(lineY("Line8(3)", "y1"), 1050 + 3 * 315);
    QCOMPARE(gui::control(kWin, "movedor")->property("twips").toRect().x(), 11520);
}

void ReceiptWindowTest::writesEarningsAndDeductions()
{
    window_->showReceipt(receiptWith(3, 2), "08/12/26");
    for (int r = 0; r < 5; ++r) {
        const bool earning = r < 3;
        QVERIFY(shown(cell("cod", r)) && shown(cell("Label10", r)) && shown(cell("Label19", r)));
        QVERIFY(shown(cell("Line8", r)));
        QCOMPARE(shown(cell("Label1", r)), earning);
        QCOMPARE(shown(cell("Label1", r + 27)), !earning);
    }
    QCOMPARE(gui::caption(kWin, "cod(0)"), QString("010"));
    QCOMPARE(gui::caption(kWin, "Label10(1)"), QString("1 %"));
    QCOMPARE(gui::caption(kWin, "Label19(2)"), QString("Antigüedad"));
    QCOMPARE(gui::caption(kWin, "Label1(2)"), QString("$ 102"));
    // The first deduction stands in the row after the last earning.
    QCOMPARE(gui::caption(kWin, "cod(3)"), QString("505"));
    QCOMPARE(gui::caption(kWin, "Label1(30)"), QString("$ 10"));
    QCOMPARE(gui::caption(kWin, "Label1(31)"), QString("$ 11"));
    QVERIFY(!shown("cod(5)") && !shown("Line8(5)"));
}

void ReceiptWindowTest::lineWithoutQuantity()
{
    Receipt receipt = receiptWith(1, 0);
    receipt.lines.push_back({.code = "1010",
                             .description = "Sal fam Cony",
                             .quantity = "",
                             .amount = "$ 15",
                             .column = Column::Earnings,
                             .showsQuantity = false});
    window_->showReceipt(receipt, "");
    QVERIFY(shown("cod(1)") && shown("Label19(1)") && shown("Label1(1)"));
    QVERIFY(!shown("Label10(1)"));
}

void ReceiptWindowTest::fewerLinesHideTheOldRows()
{
    window_->showReceipt(receiptWith(18, 8), "");
    QVERIFY(shown("cod(25)") && shown("Label1(52)"));
    window_->showReceipt(receiptWith(4, 1), "");
    QVERIFY(shown("cod(4)") && shown("Label1(31)"));
    for (int r = 5; r < 27; ++r)
        for (const QString& name : {cell("cod", r), cell("Label10", r), cell("Label19", r), cell("Label1", r),
                                    cell("Label1", r + 27), cell("Line8", r)})
            QVERIFY2(!shown(name), qPrintable(name));
    // Row 3 held an earning before and holds one now; row 4 changed column.
    QVERIFY(!shown("Label1(4)"));
}

void ReceiptWindowTest::lowerPartFollowsTheLastRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("none") << 0;
    QTest::newRow("typical") << 13;
    QTest::newRow("most") << 26;
}

void ReceiptWindowTest::lowerPartFollowsTheLastRow()
{
    QFETCH(int, rows);
    window_->showReceipt(receiptWith(rows - rows / 3, rows / 3), "");
    const int n = 315 * rows;
    for (const char* vertical : {"Line1", "Line2", "Line3(0)", "Line3(1)", "Line5", "Line7"})
        QCOMPARE(lineY(vertical, "y2"), n + 2350);
    QCOMPARE(lineY("Line1", "y1"), 720);  // the upper ends stay
    QCOMPARE(lineY("Line2", "y1"), 735);
    for (const auto& [rule, y] : {std::pair{"Line6", 1050}, {"Line15", 1550}, {"Line16", 1950}, {"Line17", 2350}}) {
        QCOMPARE(lineY(rule, "y1"), n + y);
        QCOMPARE(lineY(rule, "y2"), n + y);
    }
    for (const auto& [label, y] : {std::pair{"thaberes", 1250},
                                   {"Label15", 1250},
                                   {"tdescuentos", 1650},
                                   {"Label16", 1650},
                                   {"liquido", 2050},
                                   {"Label17", 2050}})
        QCOMPARE(twipsOf(gui::control(kWin, label)).top(), n + y);
    QCOMPARE(gui::control(kWin, "Label15")->y(), qRound((n + 1250) / 15.0));
    QCOMPARE(lineY("Line4", "y1"), 735);
    if (rows == 26)
        QCOMPARE(lineY("Line17", "y1"), 10540);
}

void ReceiptWindowTest::headerForHoursHidesThePositionPoints()
{
    const QStringList points = {"Label14", "Label20", "Label21", "Label2", "proljor", "jorcom", "tardif", "compbas"};
    Receipt receipt = receiptWith(2, 0);
    window_->showReceipt(receipt, "");
    for (const QString& name : points)
        QVERIFY2(shown(name), qPrintable(name));
    receipt.header = {"Cantidad de horas", "12", "776.76", "Horas de nivel medio", false};
    window_->showReceipt(receipt, "");
    for (const QString& name : points)
        QVERIFY2(!shown(name), qPrintable(name));
    QCOMPARE(gui::caption(kWin, "Label11"), QString("Cantidad de horas"));
    QCOMPARE(gui::box(kWin, "numcargo")->text(), QString("12"));
    QCOMPARE(gui::box(kWin, "punbasicos")->text(), QString("776.76"));
    QCOMPARE(gui::caption(kWin, "carsel"), QString("Horas de nivel medio"));
}

void ReceiptWindowTest::headerFields()
{
    window_->showReceipt(receiptWith(2, 1), "08/12/26");
    QCOMPARE(gui::caption(kWin, "docente"), QString("Pérez, María"));
    QCOMPARE(gui::box(kWin, "Text10")->text(), QString("08/12/26"));
    QCOMPARE(gui::caption(kWin, "thaberes"), QString("$ 1000"));
    QCOMPARE(gui::caption(kWin, "tdescuentos"), QString("$ 100"));
    QCOMPARE(gui::caption(kWin, "liquido"), QString("$ 900"));
    QCOMPARE(gui::caption(kWin, "Label11"), QString("Código del cargo"));
}

void ReceiptWindowTest::longTextsAreNotCut()
{
    Receipt receipt = receiptWith(1, 1);
    receipt.lines[0].amount = "$ -1234567.8901";
    receipt.lines[0].description = "Adic. Art 2 y 3 Dcrto 5863/05";
    receipt.liquido = "$ -123456789.1234";
    receipt.header.carsel = "Vicedirector Esc. 3era Cat. Con Prolong. De Jorn.";
    window_->showReceipt(receipt, "");
    for (const char* name : {"Label1(0)", "Label19(0)"}) {
        auto* cell = qobject_cast<GridCell*>(part(name));
        QVERIFY2(QFontMetrics(cell->font()).horizontalAdvance(cell->text()) <= cell->width(), name);
    }
    for (const char* name : {"liquido", "carsel", "Label3"}) {
        auto* label = gui::control<QLabel>(kWin, name);
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(), name);
    }
    // One column, one size: the short amount is drawn as small as the long one.
    const auto* shortAmount = qobject_cast<GridCell*>(part("Label1(28)"));
    const auto* longAmount = qobject_cast<GridCell*>(part("Label1(0)"));
    QVERIFY(longAmount->font().pointSizeF() < longAmount->designFont().pointSizeF());
    QCOMPARE(shortAmount->font().pointSizeF(), longAmount->font().pointSizeF());
}

// The grid draws each shown cell's text and each shown rule where the cell
// or rule stands, and nothing where one is hidden; a receipt written over a
// longer one leaves nothing of the rows it no longer fills. (The totals block
// stands in the rows just under the last one: those are not looked at.)
void ReceiptWindowTest::gridDrawsWhatItShows()
{
    window_->showReceipt(receiptWith(16, 4), "");
    window_->showReceipt(receiptWith(2, 1), "");
    const QImage picture = window_->grab().toImage();
    const QWidget* frame = gui::control(kWin, "sosten");
    const auto inWindow = [frame](QRect framePixels) { return framePixels.translated(frame->pos()); };
    const int totalsBottom = lineY("Line17", "y1");  // twips
    int cellsSeen = 0, hiddenLookedAt = 0;
    for (const GridCell* cell : window_->grid()->cells()) {
        if (cell->isHidden() && cell->twips().top() <= totalsBottom)
            continue;
        // Inside the cell's edges, clear of the vertical lines it touches,
        // and on the window (the frame is taller than the window).
        const QRect inside = inWindow(cell->geometry()).adjusted(2, 1, -2, -1) & picture.rect();
        if (inside.isEmpty())
            continue;
        QVERIFY2(inked(picture, inside) == !cell->isHidden(), qPrintable(cell->objectName()));
        cellsSeen += cell->isHidden() ? 0 : 1;
        hiddenLookedAt += cell->isHidden() ? 1 : 0;
    }
    QCOMPARE(cellsSeen, 3 * 4);        // code, quantity, description and amount of 3 rows
    QVERIFY(hiddenLookedAt >= 9 * 4);  // rows the first receipt filled, below the totals
    for (const recibo::receipt::GridRule* rule : window_->grid()->rules()) {
        if (rule->isHidden() && rule->y1() <= totalsBottom)
            continue;
        // A stretch of the rule away from the vertical lines it crosses.
        const QRect stretch = inWindow(QRect(130, rule->y(), 60, 1)) & picture.rect();
        if (stretch.isEmpty())
            continue;
        QVERIFY2(inked(picture, stretch) == !rule->isHidden(), qPrintable(rule->objectName()));
    }
}

// Screen readers read the grid as a table: a row per line written, a cell
// per column with the column's header, empty where the line shows nothing;
// a shorter receipt leaves no row of the longer one behind.
void ReceiptWindowTest::gridIsReadAsATable()
{
    window_->showReceipt(receiptWith(4, 2), "");
    Receipt receipt = receiptWith(2, 1);
    receipt.lines[1].showsQuantity = false;
    window_->showReceipt(receipt, "");
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(window_->findChild<QWidget*>("rejilla"));
    QCOMPARE(grid->text(QAccessible::Name), QString("Líneas del recibo"));
    QAccessibleTableInterface* table = grid->tableInterface();
    QVERIFY(table);
    QStringList read;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            const QList<QAccessibleInterface*> headers = cell->tableCellInterface()->columnHeaderCells();
            cells << headers.value(0)->text(QAccessible::Name) + "=" + cell->text(QAccessible::Name);
        }
        read << cells.join(", ");
    }
    QCOMPARE(read,
             QStringList({"Código=010, Cantidad=0 %, Concepto=Antigüedad, Haberes=$ 100, Descuentos=",
                          "Código=010, Cantidad=, Concepto=Antigüedad, Haberes=$ 101, Descuentos=",
                          "Código=505, Cantidad=3 %, Concepto=IOSPER, Haberes=, Descuentos=$ 10, descuento"}));
}

// The frame draws its caption at its top left and its edge around the
// receipt, also once scrolling has made it taller; a new caption is drawn
// in full.
void ReceiptWindowTest::frameDrawsCaptionAndEdge()
{
    auto* frame = gui::control<QGroupBox>(kWin, "sosten");
    const int height = QFontMetrics(frame->font()).height();
    // The upper part of a capital letter at `x` from the caption's start,
    // above the edge that runs through the caption's middle.
    const auto capitalAt = [&](int x) {
        const QImage picture = window_->grab().toImage();
        return inked(picture, QRect(frame->x() + x, frame->y(), 14, height / 2 - 1));
    };
    const QRect leftEdge(frame->x(), frame->y() + 60, 3, 200);
    QVERIFY(capitalAt(4));  // "R"
    QVERIFY(inked(window_->grab().toImage(), leftEdge));
    QVERIFY(!capitalAt(300));

    gui::control<QScrollBar>(kWin, "movedor")->setValue(100 + 500);
    gui::control<QScrollBar>(kWin, "movedor")->setValue(100);
    QVERIFY(capitalAt(4));
    const QString longer = QStringLiteral("RECIBO DE HABERES DEL MES DE DICIEMBRE");
    frame->setTitle(longer);
    QVERIFY(capitalAt(QFontMetrics(frame->font()).horizontalAdvance(longer) - 10));
    QVERIFY(inked(window_->grab().toImage(), leftEdge));
}

void ReceiptWindowTest::scrolling()
{
    auto* bar = gui::control<QScrollBar>(kWin, "movedor");
    QWidget* frame = gui::control(kWin, "sosten");
    QCOMPARE(bar->value(), 100);  // the frame's design place
    QCOMPARE(bar->minimum(), 100);
    QVERIFY(bar->maximum() >= 100 + 12000 - 8490);

    bar->setValue(300);
    QCOMPARE(twipsOf(frame).top(), -200);
    QCOMPARE(twipsOf(frame).height(), 12300);
    bar->setValue(100);
    QCOMPARE(twipsOf(frame).top(), 0);
    QCOMPARE(twipsOf(frame).height(), 12400);
    QCOMPARE(frame->geometry().top(), 0);

    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(twipsOf(frame).top(), -500);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(twipsOf(frame).top(), -600);
    // The frame's lower edge never rises above where it was.
    QVERIFY(twipsOf(frame).bottom() >= 12000);
}

void ReceiptWindowTest::frameGrowthStaysWithinLimits()
{
    window_->resize(200, 20);
    auto* bar = gui::control<QScrollBar>(kWin, "movedor");
    QWidget* frame = gui::control(kWin, "sosten");
    for (int i = 0; i < 50000; ++i)
        bar->setValue(i % 2 ? bar->minimum() : bar->maximum());
    QCOMPARE(frame->height(), QWIDGETSIZE_MAX);
    QCOMPARE(twipsOf(frame).top(), 0);
    QVERIFY(!window_->grab().isNull());
}

void ReceiptWindowTest::resizing_data()
{
    QTest::addColumn<int>("outerHeight");  // pixels
    QTest::addColumn<int>("barHeight");    // twips
    QTest::newRow("6000 twips") << 400 << 5600;
    QTest::newRow("design") << 566 << 8090;
    QTest::newRow("just over 400 twips") << 27 << 5;
    QTest::newRow("under 400 twips") << 20 << 0;
}

void ReceiptWindowTest::resizing()
{
    QFETCH(int, outerHeight);
    QFETCH(int, barHeight);
    const int frameMargins = window_->frameGeometry().height() - window_->height();
    window_->resize(window_->width(), outerHeight - frameMargins);
    QCOMPARE(window_->frameGeometry().height(), outerHeight);
    QWidget* bar = gui::control(kWin, "movedor");
    QCOMPARE(twipsOf(bar).height(), barHeight);
    QCOMPARE(bar->height(), qRound(barHeight / 15.0));
}

void ReceiptWindowTest::buttons()
{
    QSignalSpy volver(window_.get(), &ReceiptWindow::volverPressed);
    QSignalSpy salir(window_.get(), &ReceiptWindow::salirPressed);
    QSignalSpy print(window_.get(), &ReceiptWindow::printRequested);
    QSignalSpy closed(window_.get(), &ReceiptWindow::closedByUser);
    gui::click(kWin, "Volver");
    gui::click(kWin, "Imprimir");
    gui::click(kWin, "Salir");
    // From the keyboard: Tab to a button, Enter presses it.
    for (const char* button : {"Volver", "Imprimir", "Salir"}) {
        QVERIFY(gui::tabTo(gui::control(kWin, button)));
        gui::press(window_.get(), Qt::Key_Return);
    }
    QCOMPARE(volver.count(), 2);
    QCOMPARE(print.count(), 2);
    QCOMPARE(salir.count(), 2);
    QCOMPARE(closed.count(), 0);
    gui::closeFromTitleBar(window_.get());
    QCOMPARE(closed.count(), 1);
}

void ReceiptWindowTest::putAwayAndShownAgain()
{
    window_->putAway();
    QVERIFY(!window_->isVisible());
    QVERIFY(!window_->isEnabled());
    window_->showReceipt(receiptWith(1, 0), "");
    QVERIFY(window_->isVisible());
    QVERIFY(window_->isEnabled());
}

void ReceiptWindowTest::positionPanel()
{
    window_->showPositionPanel({"750", "971", "170", "1", "2", "3"});
    QCOMPARE(gui::box(kWin, "numcargo")->text(), QString("750"));
    QCOMPARE(gui::box(kWin, "punbasicos")->text(), QString("971"));
    QCOMPARE(gui::box(kWin, "compbas")->text(), QString("170"));
    QCOMPARE(gui::box(kWin, "proljor")->text(), QString("1"));
    QCOMPARE(gui::box(kWin, "jorcom")->text(), QString("2"));
    QCOMPARE(gui::box(kWin, "tardif")->text(), QString("3"));
}

QTEST_MAIN(ReceiptWindowTest)
#include "receipt_window_test.moc"
