#include "planilla_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "files/file_errors.h"
#include "files/replaceable.h"
#include "payroll/message_text.h"

namespace recibo::planilla {

namespace {

// Large enough for any school's staff; a larger file is not a planilla.
constexpr qint64 kLargestPlanilla = qint64{64} << 20;

QString quoted(const QString& path)
{
    return QString::fromStdString(payroll::quotedPathForMessage(QDir::toNativeSeparators(path).toStdString()));
}

QString causeOf(const QFileDevice& file, files::Access access)
{
    return files::fileErrorText(file, access);
}

Unusable unusable(const QString& message)
{
    return Unusable{message.toStdString()};
}

}  // namespace

QByteArray PlanillaFile::digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::variant<PlanillaFile, Unusable, PlanillaFile::Stopped> PlanillaFile::open(
    const QString& path, const table::Planilla::Progress& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unusable(QStringLiteral("No se puede abrir la planilla %1 (%2).")
                            .arg(quoted(path), causeOf(file, files::Access::Read)));
    if (file.size() > kLargestPlanilla)
        return unusable(
            QStringLiteral("La planilla %1 es demasiado grande (más de 64 MB): no parece una planilla de docentes.")
                .arg(quoted(path)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return unusable(QStringLiteral("No se puede leer la planilla %1 (%2).")
                            .arg(quoted(path), causeOf(file, files::Access::Read)));
    bool stopped = false;
    const auto told = [&](std::size_t done, std::size_t total) { return !(stopped = !progress(done, total)); };
    auto read = table::Planilla::read(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                      progress ? table::Planilla::Progress(told) : table::Planilla::Progress());
    if (stopped)
        return Stopped{};
    if (auto* problem = std::get_if<Unusable>(&read))
        return unusable(QStringLiteral("La planilla %1 no se puede usar: %2.")
                            .arg(quoted(path), QString::fromStdString(problem->message)));
    return PlanillaFile(path, std::get<table::Planilla>(std::move(read)), bytes);
}

PlanillaFile::SaveResult PlanillaFile::save(const QString& path, std::optional<table::Planilla::Conflicts> settle,
                                            std::span<const std::size_t> follow)
{
    std::map<std::size_t, std::size_t> followed;
    for (const std::size_t row : follow)
        if (row < table_.rows())
            followed[row] = row;
    bool merged = false;
    if (path == path_) {
        QFile current(path);
        QByteArray now;
        if (current.exists() && (!current.open(QIODevice::ReadOnly) || digest(now = current.readAll()) != read_)) {
            auto onDisk =
                table::Planilla::read(std::string_view(now.constData(), static_cast<std::size_t>(now.size())));
            if (!std::holds_alternative<table::Planilla>(onDisk)) {
                if (settle != table::Planilla::Conflicts::KeepMine)
                    return {Saved::Conflict,
                            QStringLiteral("La planilla %1 cambió en el disco desde que se abrió y ya no se puede leer "
                                           "como planilla. Guardá la tuya con otro nombre, o reemplazá la del disco "
                                           "con la tuya.")
                                .arg(quoted(path)),
                            {},
                            false};
            } else {
                auto rebased = table_.rebasedOnto(std::get<table::Planilla>(std::move(onDisk)),
                                                  settle.value_or(table::Planilla::Conflicts::KeepTheirs), follow);
                if (rebased.conflicts > 0 && !settle)
                    return {Saved::Conflict,
                            QStringLiteral("La planilla %1 cambió en el disco desde que se abrió, y otro programa o "
                                           "persona modificó también %2 que cambiaste vos. Elegí qué versión queda, "
                                           "o guardá la tuya con otro nombre.")
                                .arg(quoted(path),
                                     rebased.conflicts == 1 ? QStringLiteral("la fila")
                                                            : QStringLiteral("%1 filas").arg(rebased.conflicts)),
                            {},
                            false};
                table_ = std::move(rebased.table);
                read_ = digest(now);
                followed = rebased.followed;
                merged = true;
            }
        }
    }
    const std::string text = table_.text();
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (const std::optional<std::string> other = files::notReplaceable(QFile::encodeName(path).toStdString()))
        return SaveResult{Saved::Failed,
                          QStringLiteral("No se guardó la planilla en %1: es %2, no un archivo; elegí el nombre de "
                                         "un archivo.")
                              .arg(quoted(path), QString::fromStdString(*other)),
                          {},
                          false};
    QSaveFile file(path);
    const auto failed = [&] {
        return SaveResult{Saved::Failed,
                          QStringLiteral("No se pudo guardar la planilla %1 (%2); el archivo que "
                                         "estaba quedó como estaba.")
                              .arg(quoted(path), causeOf(file, files::Access::Write)),
                          {},
                          false};
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed();
    if (!files::writeWhole(file, bytes)) {
        const SaveResult result = failed();
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return failed();
    path_ = path;
    read_ = digest(bytes);
    // The table as saved is what later changes are made on.
    if (auto saved = table::Planilla::read(text); std::holds_alternative<table::Planilla>(saved))
        table_ = std::get<table::Planilla>(std::move(saved));
    return {Saved::Yes, {}, followed, merged};
}

}  // namespace recibo::planilla
