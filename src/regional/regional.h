#pragma once

#include <optional>
#include <string_view>

#include <QLocale>

#include "payroll/regional_settings.h"

namespace recibo::regional {

// The decimal and digit-group separators of a locale, as UTF-8 texts.
payroll::RegionalSettings settingsOf(const QLocale& locale);

// The user's own regional settings (LC_ALL, LC_NUMERIC, LANG).
payroll::RegionalSettings systemSettings();

// The locale a name such as "es_AR", "en_US.UTF-8" or "C" stands for. Qt
// quietly falls back to "C" for a language it does not know and to the
// language's main country for a country it does not know; both are refused
// here, so that a misspelt name is never taken for another locale.
std::optional<QLocale> localeNamed(std::string_view name);

}  // namespace recibo::regional
