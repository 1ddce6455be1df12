#include "catalogue_names.h"

#include "positions/catalogue.h"

namespace recibo::selection {

namespace {

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

}  // namespace

CatalogueNames::CatalogueNames(const positions::Catalogue& catalogue, QObject* parent)
    : QAbstractListModel(parent), catalogue_(&catalogue)
{}

void CatalogueNames::show(const positions::Catalogue& catalogue)
{
    beginResetModel();
    catalogue_ = &catalogue;
    endResetModel();
}

int CatalogueNames::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : catalogue_->size();
}

QVariant CatalogueNames::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= catalogue_->size())
        return {};
    const positions::CatalogueRow& row = (*catalogue_)[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return text(row.cargox);
    case kCodeRole: return text(row.codigocargo);
    case Qt::AccessibleTextRole: return QStringLiteral("%1, código %2").arg(text(row.cargox), text(row.codigocargo));
    default: return {};
    }
}

}  // namespace recibo::selection
