#pragma once

#include <optional>
#include <string>

#include "catalogue.h"
#include "payroll/entry_values.h"
#include "payroll/regional_settings.h"

namespace recibo::positions {

// The state and the handlers of the position selection dialog, without any
// widget: the dialog window shows this state, and the batch tool drives it as
// a user typing a code would. Handlers run only when the value they watch
// really changes, and a handler's assignment to a watched value runs that
// value's handler at once, nested.
class PositionSelection {
public:
    enum class ValueBox { Punbas, Compbas, Proljor, Jorcom, Tardif };

    // The dialog over `catalogue`, which must outlive it.
    explicit PositionSelection(const Catalogue& catalogue = positions::catalogue()) : catalogue_(&catalogue) {}

    // What "Listo" hands over to the entry window and the receipt window.
    struct Accepted {
        std::string codcargo, punbas, proljor, jorcom, tardif, compbas;
        std::string cargoName;  // text shown by the name list
        bool deselectPosition;  // the code is 0 or empty: "Cargo" goes off
    };

    // The code box's text changed (typed, or assigned).
    void setCode(const std::string& text);
    // The name list's selected row changed (a name picked); nullopt clears it.
    void selectName(std::optional<int> row);
    // The user typed into the editable name list without picking a row.
    void setNameText(const std::string& text);
    // The user edited one of the value boxes.
    void setValue(ValueBox box, const std::string& text);
    // Another scale's catalogue (which must outlive the dialog): the code's
    // handling runs again over its rows.
    void setCatalogue(const Catalogue& catalogue);
    const Catalogue& catalogue() const { return *catalogue_; }
    // A click into the code box empties it.
    void clickCodeBox() { setCode(std::string()); }

    // "Listo": the code is read as a number under the regional settings.
    Accepted listo(const payroll::RegionalSettings& settings) const;
    void salirSinDatos();

    const std::string& code() const { return code_; }
    std::optional<int> nameRow() const { return nameRow_; }
    const std::string& nameText() const { return nameText_; }
    const std::string& value(ValueBox box) const;
    bool listoEnabled() const { return listoEnabled_; }
    std::optional<int> codeListRow() const { return codeListRow_; }
    std::optional<int> pointsListRow() const { return pointsListRow_; }

    // The boxes as the calculation reads them.
    payroll::SelectedPosition selected() const;

private:
    std::string fieldOf(std::optional<int> row, std::string_view CatalogueRow::*field) const;
    void onCodeChanged();
    void onNameRowChanged();
    void showValues(std::optional<int> row);
    std::string& valueRef(ValueBox box);

    const Catalogue* catalogue_;
    std::string code_ = "0";
    std::optional<int> nameRow_;
    std::string nameText_;
    std::optional<int> codeListRow_;
    std::optional<int> pointsListRow_;
    std::string punbas_, compbas_, proljor_, jorcom_, tardif_;
    bool listoEnabled_ = true;
};

}  // namespace recibo::positions
