#pragma once
// Qt's own texts (file dialogs, standard buttons, the edit context menu) in German.

class QCoreApplication;

namespace pnl::ui {

// Installs Qt's German translation from Qt's translations folder; false when it is not installed there
// (Debian package qt6-translations-l10n), and Qt's texts stay English.
bool loadGermanTranslation(QCoreApplication& application);

}  // namespace pnl::ui
