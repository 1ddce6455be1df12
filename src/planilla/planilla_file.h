#pragma once

#include <QByteArray>
#include <QString>

#include <variant>

#include "table/planilla.h"

namespace recibo::planilla {

// A planilla kept in a file: read whole, written back whole and atomically
// (the file on disk is either the old one or the new one, never half of
// either), and never over a file someone else changed since it was read.
class PlanillaFile {
public:
    // The planilla in `path`, or why it cannot be used, in Spanish, naming
    // the file (a table recibo-lote would refuse gets recibo-lote's reason).
    static std::variant<PlanillaFile, QString> open(const QString& path);
    // A planilla not saved yet ("Nueva planilla"): it has no file until the
    // first save names one.
    static PlanillaFile unsaved(table::Planilla table) { return PlanillaFile({}, std::move(table), {}); }

    const QString& path() const { return path_; }
    const table::Planilla& table() const { return table_; }
    table::Planilla& table() { return table_; }

    enum class Saved { Yes, ChangedOnDisk, Failed };
    struct SaveResult {
        Saved saved;
        QString problem;  // in Spanish, when not saved
        bool operator==(const SaveResult&) const = default;
    };
    // Writes the table to `path` (its own, or another for "Guardar como…").
    // Over its own file only while that file is still as it was read or last
    // written, unless `overwrite` says the user chose to replace the other
    // version. A failed write leaves the old file whole.
    SaveResult save(const QString& path, bool overwrite = false);

private:
    PlanillaFile(QString path, table::Planilla table, QByteArray read)
        : path_(std::move(path)), table_(std::move(table)), read_(std::move(read))
    {}

    QString path_;
    table::Planilla table_;
    QByteArray read_;  // the file's bytes when last read or written
};

}  // namespace recibo::planilla
