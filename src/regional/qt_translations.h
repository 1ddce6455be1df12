#pragma once

namespace recibo::regional {

// Qt's own texts (standard buttons, the file dialog) in the user's language:
// Qt's translations for the system locale, from where Qt keeps them
// (Debian's qt6-translations-l10n). Needs the application object; false
// when there are none for that language, and Qt's texts stay in English.
bool installQtTranslations();

}  // namespace recibo::regional
