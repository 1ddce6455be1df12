#pragma once

namespace recibo::regional {

// Qt's own texts (standard buttons, the file dialog) in Spanish, like the
// program's, whatever the system's language: Qt's Spanish translations, from
// where Qt keeps them (Debian's qt6-translations-l10n). Needs the
// application object; false when they are not installed, and Qt's texts
// stay in English.
bool installQtTranslations();

}  // namespace recibo::regional
