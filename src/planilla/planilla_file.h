#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <variant>

#include "table/planilla.h"

namespace recibo::planilla {

// A planilla kept in a file: read whole, written back whole and atomically
// (the file on disk is either the old one or the new one, never half of
// either), and never undoing what someone else changed in it since.
class PlanillaFile {
public:
    // A reading stopped by its progress (see table::Planilla::read).
    struct Stopped {};
    // The planilla in `path`, or why it cannot be used, in Spanish, naming
    // the file (a table recibo-lote would refuse gets recibo-lote's reason).
    static std::variant<PlanillaFile, Unusable, Stopped> open(const QString& path,
                                                              const table::Planilla::Progress& progress = {});
    // A planilla not saved yet ("Nueva planilla"): it has no file until the
    // first save names one.
    static PlanillaFile unsaved(table::Planilla table) { return PlanillaFile({}, std::move(table), {}); }

    const QString& path() const { return path_; }
    const table::Planilla& table() const { return table_; }
    table::Planilla& table() { return table_; }

    enum class Saved { Yes, Conflict, Failed };
    struct SaveResult {
        Saved saved;
        QString problem;  // in Spanish, when not saved
        // Where each row followed (see save()) is now: the file may have
        // gained or lost rows elsewhere; one it no longer has is missing.
        std::map<std::size_t, std::size_t> followed;
        bool merged = false;  // the file held others' changes, now in the table too
        bool operator==(const SaveResult&) const = default;
    };
    // Writes the table to `path` (its own, or another for "Guardar como…").
    // When someone else changed its own file since it was read, this
    // table's changes are made on the file as it is now (the rows changed
    // there stay as they are there), and the table becomes that; a row
    // changed both here and there is a conflict, not saved unless `settle`
    // says whose version stays. A file that is no longer a planilla is
    // written over only when `settle` keeps this one. A failed write leaves
    // the old file whole. `follow`: rows whose places after saving are
    // wanted.
    SaveResult save(const QString& path, std::optional<table::Planilla::Conflicts> settle = std::nullopt,
                    std::span<const std::size_t> follow = {});

private:
    PlanillaFile(QString path, table::Planilla table, QByteArray read)
        : path_(std::move(path)), table_(std::move(table)), read_(digest(read))
    {}

    QString path_;
    table::Planilla table_;
    // The file's bytes when last read or written, told apart from others by
    // their digest: a big planilla is not held twice.
    static QByteArray digest(const QByteArray& bytes);
    QByteArray read_;
};

}  // namespace recibo::planilla
