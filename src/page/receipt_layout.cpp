#include "receipt_layout.h"

namespace recibo::receipt {

namespace {

// The grid's control arrays: one control per row, all of one column.
struct ColumnDesign {
    const char* array;
    int firstIndex;
    int x;
    int width;
    unsigned look;
};

constexpr ColumnDesign kGridColumns[] = {
    {"cod", 0, 510, 495, RightAligned | GridFont | Middle},
    {"Label10", 0, 1140, 495, RightAligned | GridFont | Middle},
    {"Label19", 0, 1770, 2355, GridFont | Middle},
    {"Label1", 0, 4200, 1050, RightAligned | Middle},                  // right edge at 5250
    {"Label1", kDeductionsOffset, 5355, 1095, RightAligned | Middle},  // right edge at 6450
};

std::vector<ControlDesign> frameHeaderAndTotals()
{
    using enum Kind;
    const Parent f = Parent::Frame;
    return {
        {"Label18", Label, f, {360, 240, 2295, 375}, "Recibo de sueldos de:"},
        {"docente", Label, f, {3030, 210, 3135, 375}, ""},
        // The totals block stands here until a run places it under its last row.
        {"Label15", Label, f, {1770, 7830, 1600, 330}, "Total Haberes"},
        {"thaberes", Label, f, {4200, 7830, 1155, 330}, "", Bold | RightAligned | ClearOfRule},  // right edge 5355
        {"Label16", Label, f, {1770, 8220, 1605, 330}, "Total descuentos"},
        {"tdescuentos", Label, f, {5355, 8220, 1120, 330}, "", Bold | RightAligned},  // right edge 6475
        {"Label17", Label, f, {1770, 8610, 1605, 330}, "Liquido a pagar"},
        {"liquido", Label, f, {5355, 8610, 1120, 330}, "", Bold | RightAligned},  // right edge 6475
    };
}

std::vector<ControlDesign> panel()
{
    using enum Kind;
    const Parent w = Parent::Window;
    std::vector<ControlDesign> controls = {
        {"Label3", Label, w, {7680, 0, 3495, 375}, "Haberes desde Sept 2.010", TitleFont | Centred | WhiteBackground},
        {"carsel", Label, w, {7680, 480, 3480, 300}, "", WhiteBackground},
        {"Label11", Label, w, {7665, 840, 1890, 300}, ""},
        {"numcargo", TextBox, w, {7920, 1200, 1275, 360}, ""},
        {"Label12", Label, w, {7680, 1680, 1905, 330}, "Puntaje", Centred},
        {"punbasicos", TextBox, w, {7920, 2040, 1275, 360}, ""},
        {"Label2", Label, w, {7680, 2520, 1905, 330}, "Ptos. Comp Básico", Centred},
        {"compbas", TextBox, w, {7920, 2880, 1275, 360}, ""},
        {"Label14", Label, w, {7665, 3465, 1905, 330}, "Prol jorn", Centred},
        {"proljor", TextBox, w, {7980, 3885, 1275, 360}, ""},
        {"Label20", Label, w, {7665, 4515, 1905, 330}, "Jorn Comp", Centred},
        {"jorcom", TextBox, w, {7980, 4935, 1275, 360}, ""},
        {"Label21", Label, w, {7665, 5565, 1905, 330}, "Tarea dif", Centred},
        {"tardif", TextBox, w, {7980, 5985, 1275, 360}, ""},
        {"Text12", TextBox, w, {9720, 1560, 1695, 285}, "Poné tu comentario"},
        {"Text11", CommentBox, w, {9720, 1920, 1695, 2895}, ""},
        {"Volver",
         Button,
         w,
         {9840, 4920, 1335, 495},
         "Volver",
         Bold,
         0xC0C0FF,
         "Permite cambiar los datos ingresados"},
        {"Imprimir", Button, w, {9840, 5640, 1335, 495}, "Imprimir", Bold, 0x8080FF, "Se imprime con fondo blanco."},
        {"Salir", Button, w, {9840, 6360, 1335, 495}, "Salir", Bold, 0x008080},
        {"Text1", TextBox, w, {8880, 7200, 2415, 285}, "Se imprime en blanco y negro"},
        {"Text10", TextBox, w, {8880, 7680, 2415, 375}, ""},
    };
    // The margin boxes shown only on paper, top to bottom.
    const struct {
        const char* name;
        int y;
        std::uint32_t background;
    } margin[] = {
        {"Text3", 360, 0xE0E0E0},  {"Text2", 840, 0xC0C0C0},  {"Text5", 1320, 0x808080}, {"Text4", 1800, 0x404040},
        {"Text7", 2280, 0xE0E0E0}, {"Text9", 2760, 0xC0C0C0}, {"Text6", 3240, 0x808080}, {"Text8", 3720, 0x404040},
    };
    for (const auto& box : margin)
        controls.push_back({box.name, TextBox, w, {120, box.y, 615, 255}, "AGMER", StartsHidden, box.background});
    return controls;
}

std::vector<ControlDesign> buildControls()
{
    std::vector<ControlDesign> controls = frameHeaderAndTotals();
    const std::vector<ControlDesign> side = panel();
    controls.insert(controls.end(), side.begin(), side.end());
    return controls;
}

std::vector<ControlDesign> buildGridCells()
{
    std::vector<ControlDesign> cells;
    for (const ColumnDesign& column : kGridColumns)
        for (int row = 0; row < kGridRows; ++row)
            cells.push_back({arrayName(column.array, column.firstIndex + row),
                             Kind::Label,
                             Parent::Frame,
                             {column.x, kFirstRowTop + kRowPitch * row, column.width, kRowHeight},
                             "",
                             column.look | StartsHidden});
    return cells;
}

std::vector<LineDesign> buildLines()
{
    // The lower ends of the vertical lines and the rules below the grid stand
    // at their design places until a run moves them.
    constexpr int kDesignBottom = 8520;
    std::vector<LineDesign> lines = {
        {"Line4", 300, 735, 6570, 735},
        {"Line3(1)", 300, 735, 300, kDesignBottom},
        {"Line7", 1035, 735, 1035, kDesignBottom},
        {"Line5", 1665, 720, 1665, kDesignBottom},
        {"Line2", 4185, 735, 4185, kDesignBottom},
        {"Line1", 5340, 720, 5340, kDesignBottom},
        {"Line3(0)", 6570, 735, 6570, kDesignBottom},
        {"Line6", 300, 7770, 6570, 7770},
        {"Line15", 300, 8190, 6570, 8190},
        {"Line16", 300, 8400, 6570, 8400},
        {"Line17", 300, kDesignBottom, 6570, kDesignBottom},
    };
    return lines;
}

std::vector<LineDesign> buildGridRules()
{
    std::vector<LineDesign> rules;
    for (int row = 0; row < kGridRows; ++row) {
        const int y = kFirstRowTop + kRowPitch * (row + 1);  // 1050 + 315 r: under row r
        rules.push_back({arrayName("Line8", row), 300, y, 6570, y});
    }
    return rules;
}

}  // namespace

LowerPartPlacement placeLowerPart(int rowsWritten)
{
    // The rule under the grid takes the place of the rule under the row
    // after the last; the totals and their rules follow it.
    const int underGrid = kFirstRowTop + kRowPitch * (rowsWritten + 1);
    const int closingRule = underGrid + 1300;
    return {closingRule,     underGrid,       underGrid + 200,  underGrid + 500,
            underGrid + 600, underGrid + 900, underGrid + 1000, closingRule};
}

QString arrayName(const char* array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

const std::vector<ControlDesign>& receiptControls()
{
    static const std::vector<ControlDesign> controls = buildControls();
    return controls;
}

const std::vector<LineDesign>& receiptLines()
{
    static const std::vector<LineDesign> lines = buildLines();
    return lines;
}

const std::vector<ControlDesign>& receiptGridCells()
{
    static const std::vector<ControlDesign> cells = buildGridCells();
    return cells;
}

const std::vector<LineDesign>& receiptGridRules()
{
    static const std::vector<LineDesign> rules = buildGridRules();
    return rules;
}

}  // namespace recibo::receipt
