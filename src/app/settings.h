#pragma once

#include <QSettings>

namespace recibo::app {

// The program's one settings file, named for it (~/.config/recibo/recibo.conf
// on Linux): the scale chosen and the planillas opened before.
QSettings programSettings();

// Earlier versions kept the planillas opened before in a file of an unnamed
// organisation ("Unknown Organization/recibo.conf"). What it holds and the
// program's file lacks is copied over once, and the old file removed, so
// nothing a user had is lost and nothing is read twice.
void takeOverEarlierSettings();

}  // namespace recibo::app
