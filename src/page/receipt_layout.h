#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <QRect>
#include <QString>

namespace recibo::receipt {

// The receipt window's fixed controls described once, as data: name, kind,
// place (in twips), caption and look. The window is built from these tables.

enum class Kind : std::uint8_t { Label, TextBox, CommentBox, Button };
enum class Parent : std::uint8_t { Window, Frame };

enum Look : unsigned {
    Plain = 0,
    Bold = 1u << 0,
    Centred = 1u << 1,
    RightAligned = 1u << 2,
    WhiteBackground = 1u << 3,
    StartsHidden = 1u << 4,
    GridFont = 1u << 5,     // the window's default font, as the grid's texts use
    TitleFont = 1u << 6,    // sans-serif 12 point bold
    Middle = 1u << 7,       // text in the middle of its height, not at the top
    ClearOfRule = 1u << 8,  // the right edge passes a vertical line: the text keeps off it
};

inline constexpr std::uint32_t kNoBackground = 0xFFFFFFFFu;

struct ControlDesign {
    ControlDesign(QString name, Kind kind, Parent parent, QRect twips, QString caption, unsigned look = Plain,
                  std::uint32_t background = kNoBackground, QString tip = {})
        : name(std::move(name)),
          kind(kind),
          parent(parent),
          twips(twips),
          caption(std::move(caption)),
          look(look),
          background(background),
          tip(std::move(tip))
    {}

    QString name;
    Kind kind;
    Parent parent;
    QRect twips;
    QString caption;
    unsigned look;
    std::uint32_t background;  // 0xRRGGBB
    QString tip;
};

// A line inside the frame, from (x1, y1) to (x2, y2) in twips.
struct LineDesign {
    QString name;
    int x1, y1, x2, y2;
};

// The window and the frame "sosten".
inline constexpr int kWindowWidth = 11880;  // inner area at design
inline constexpr int kWindowHeight = 8490;
inline constexpr QRect kFrameAt{840, 0, 6840, 12000};
inline constexpr std::uint32_t kWindowBackground = 0xFFC0C0;  // 255, 192, 192
inline constexpr std::uint32_t kFrameBackground = 0xFFFFC0;   // 255, 255, 192

// The scroll bar "movedor": its x, width, and how far its height stays
// above the window's outer height.
inline constexpr int kScrollBarX = 11520;
inline constexpr int kScrollBarWidth = 345;
inline constexpr int kScrollBarShorterBy = 400;

// The receipt grid: 27 rows of 300 twips, one every 315 twips from 735.
inline constexpr int kGridRows = 27;
inline constexpr int kFirstRowTop = 735;
inline constexpr int kRowPitch = 315;
inline constexpr int kRowHeight = 300;
inline constexpr int kDeductionsOffset = 27;  // Label1(r + 27): the deductions column

// Where the lower part of the receipt stands, in twips inside the frame,
// once `rowsWritten` rows are written: right under the last row.
struct LowerPartPlacement {
    int verticalLinesBottom;  // y2 of Line1, Line2, Line3(0), Line3(1), Line5, Line7
    int line6;                // rule between grid and totals
    int totalEarningsTop;     // thaberes and Label15
    int line15;
    int totalDeductionsTop;  // tdescuentos and Label16
    int line16;
    int netPayTop;  // liquido and Label17
    int line17;     // closing line
};

LowerPartPlacement placeLowerPart(int rowsWritten);

// Every label, box and button but the grid's: the frame's header and totals,
// and the panel.
const std::vector<ControlDesign>& receiptControls();

// The lines of the frame around the grid and under its totals.
const std::vector<LineDesign>& receiptLines();

// The grid's cells, by array ("cod(0)", "Label10(0)", "Label19(0)",
// "Label1(0)" to "Label1(53)"), and its rules "Line8(0)" to "Line8(26)".
const std::vector<ControlDesign>& receiptGridCells();
const std::vector<LineDesign>& receiptGridRules();

QString arrayName(const char* array, int index);

// The controls a receipt writes, moves, shows or hides, by name.
inline constexpr const char* kTotals[] = {"thaberes", "tdescuentos", "liquido"};
inline constexpr const char* kTotalCaptions[] = {"Label15", "Label16", "Label17"};
// Their lower ends follow the last row.
inline constexpr const char* kVerticalLines[] = {"Line1", "Line2", "Line3(0)", "Line3(1)", "Line5", "Line7"};
// The rules under the grid and under each total.
inline constexpr const char* kLowerRules[] = {"Line6", "Line15", "Line16", "Line17"};
// A position's points, hidden for hours.
inline constexpr const char* kPositionPoints[] = {"Label14", "Label20", "Label21", "Label2",
                                                  "proljor", "jorcom",  "tardif",  "compbas"};
// What paper leaves out (the buttons and the two hints), and what only paper
// shows (the eight margin boxes).
inline constexpr const char* kScreenOnly[] = {"Volver", "Imprimir", "Salir", "Text1", "Text12"};
inline constexpr const char* kMarginBoxes[] = {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"};

// Whether `name` is one of `names` (one of the lists above).
template <std::size_t N>
bool isOneOf(const QString& name, const char* const (&names)[N])
{
    for (const char* one : names)
        if (name == QLatin1String(one))
            return true;
    return false;
}

}  // namespace recibo::receipt
