#pragma once

#include <QString>

#include <functional>
#include <variant>

#include "planilla/planilla_file.h"

class QWidget;

namespace recibo::app {

using OpenedPlanilla = std::variant<planilla::PlanillaFile, Unusable, planilla::PlanillaFile::Stopped>;
// How a planilla is read: PlanillaFile::open, or a stand-in in the tests.
using PlanillaOpening = std::function<OpenedPlanilla(const QString& path, const table::Planilla::Progress& progress)>;

// Opens the planilla in `path` away from the windows' thread, so that they
// keep answering: once the reading has taken `patienceMs`, a progress
// dialog over `parent` shows how far it got, and its "Cancelar" stops it.
OpenedPlanilla openShowingProgress(QWidget* parent, const QString& path, int patienceMs = 500,
                                   const PlanillaOpening& open = planilla::PlanillaFile::open);

}  // namespace recibo::app
