#pragma once

#include <QString>

#include <variant>

#include "planilla/planilla_file.h"

class QWidget;

namespace recibo::app {

// Opens the planilla in `path` away from the windows' thread, so that they
// keep answering: once the reading has taken `patienceMs`, a progress
// dialog over `parent` shows how far it got, and its "Cancelar" stops it.
std::variant<planilla::PlanillaFile, QString, planilla::PlanillaFile::Stopped> openShowingProgress(
    QWidget* parent, const QString& path, int patienceMs = 500);

}  // namespace recibo::app
