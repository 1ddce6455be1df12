#pragma once

#include <QAbstractListModel>

namespace recibo::positions {
class Catalogue;
}

namespace recibo::selection {

// The name list's rows, read from the catalogue when a view asks: each
// position's name (shown and completed), its code (kCodeRole) and both
// together for screen readers. Nothing is copied, so the 311 rows cost no
// memory of their own.
class CatalogueNames : public QAbstractListModel {
public:
    // A row's code, for the drop-down lists to show beside the name: several
    // positions share a name.
    static constexpr int kCodeRole = Qt::UserRole;

    // `catalogue` must outlive the model, or be replaced before it goes.
    CatalogueNames(const positions::Catalogue& catalogue, QObject* parent);

    // Shows `catalogue`'s rows (which must outlive the model) from now on.
    void show(const positions::Catalogue& catalogue);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const positions::Catalogue* catalogue_;
};

}  // namespace recibo::selection
