#include "position_selection.h"

#include "catalogue.h"
#include "payroll/number_text.h"

namespace recibo::positions {

std::string PositionSelection::fieldOf(std::optional<int> row, std::string_view CatalogueRow::*field) const
{
    if (!row)
        return {};
    return std::string((*catalogue_)[*row].*field);
}

// The rows now come from another catalogue: a code that named a row in
// either is handled again as if typed anew, so that what is shown is the new
// catalogue's row for it, or nothing when it has none.
void PositionSelection::setCatalogue(const Catalogue& catalogue)
{
    const bool rerun = codeListRow_ || catalogue.findByCode(code_);
    catalogue_ = &catalogue;
    if (!rerun)
        return;
    nameRow_.reset();
    codeListRow_.reset();
    pointsListRow_.reset();
    onCodeChanged();
}

void PositionSelection::setCode(const std::string& text)
{
    if (text == code_)
        return;
    code_ = text;
    onCodeChanged();
}

void PositionSelection::selectName(std::optional<int> row)
{
    if (row && (*row < 0 || *row >= catalogue_->size()))
        row.reset();
    // Selecting a row (or none) always shows that row's name (or nothing),
    // even over a text typed into the list; only a real change of row runs
    // the name handling.
    nameText_ = fieldOf(row, &CatalogueRow::cargox);
    if (row == nameRow_)
        return;
    nameRow_ = row;
    onNameRowChanged();
}

void PositionSelection::setNameText(const std::string& text)
{
    nameText_ = text;
}

void PositionSelection::setValue(ValueBox box, const std::string& text)
{
    valueRef(box) = text;
}

// Typing a code: find its row and show that row everywhere, or empty the
// values when there is none.
void PositionSelection::onCodeChanged()
{
    const std::optional<int> row = catalogue_->findByCode(code_);
    codeListRow_ = row;
    selectName(row);
    showValues(row);
}

// The values of a row (or empty values for none) into the boxes, and "Listo"
// enabled exactly when there is a row.
void PositionSelection::showValues(std::optional<int> row)
{
    pointsListRow_ = row;
    punbas_ = fieldOf(row, &CatalogueRow::puntosbasicos);
    proljor_ = fieldOf(row, &CatalogueRow::proljornada);
    jorcom_ = fieldOf(row, &CatalogueRow::jorcompleta);
    tardif_ = fieldOf(row, &CatalogueRow::tareadif);
    compbas_ = fieldOf(row, &CatalogueRow::compbasico);
    listoEnabled_ = row.has_value();
}

// Picking a name: its code goes into the code box, which fills the values.
// When the box already holds that code (after "Salir sin datos" zeroed the
// values but kept the code) the code handling does not run, so the row's
// values are shown here; picking a name always shows all of its values.
// Losing the selection (a code with no row) changes nothing more: the code
// handling that caused it has already emptied the values.
void PositionSelection::onNameRowChanged()
{
    if (!nameRow_)
        return;
    const int row = *nameRow_;
    codeListRow_ = row;
    const std::string rowCode((*catalogue_)[row].codigocargo);
    if (rowCode != code_)
        setCode(rowCode);
    else
        showValues(row);
    pointsListRow_ = row;
    listoEnabled_ = true;
    punbas_ = std::string((*catalogue_)[row].puntosbasicos);
}

PositionSelection::Accepted PositionSelection::listo(const payroll::RegionalSettings& settings) const
{
    const auto number = payroll::readNumber(code_, settings);
    // A code that is not a number cannot name a position either.
    const bool noPosition = code_.empty() || !number.ok() || number.value == 0;
    return {code_, punbas_, proljor_, jorcom_, tardif_, compbas_, nameText_, noPosition};
}

void PositionSelection::salirSinDatos()
{
    nameRow_.reset();
    nameText_.clear();
    codeListRow_.reset();
    for (std::string* box : {&punbas_, &proljor_, &jorcom_, &tardif_, &compbas_})
        *box = "0";
}

const std::string& PositionSelection::value(ValueBox box) const
{
    return const_cast<PositionSelection*>(this)->valueRef(box);
}

std::string& PositionSelection::valueRef(ValueBox box)
{
    switch (box) {
    case ValueBox::Punbas: return punbas_;
    case ValueBox::Compbas: return compbas_;
    case ValueBox::Proljor: return proljor_;
    case ValueBox::Jorcom: return jorcom_;
    case ValueBox::Tardif: break;
    }
    return tardif_;
}

payroll::SelectedPosition PositionSelection::selected() const
{
    return {punbas_,
            compbas_,
            proljor_,
            jorcom_,
            tardif_,
            fieldOf(codeListRow_, &CatalogueRow::codigocargo),
            fieldOf(pointsListRow_, &CatalogueRow::puntosbasicos),
            nameText_};
}

}  // namespace recibo::positions
