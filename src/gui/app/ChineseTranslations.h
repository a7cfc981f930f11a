#pragma once

// Qt's own texts (message box buttons, file dialogs, the print dialog) in Chinese whatever the
// machine's locale: the program's texts are Chinese, and an English "Cancel" beside them is
// the first thing an operator would stumble over.

class QCoreApplication;

namespace portiqa {

// Installs Qt's Chinese catalogues (Debian's qt6-translations-l10n) on `app`. False when
// none could be loaded; the program then runs with Qt's English texts.
bool installChineseTranslations(QCoreApplication& app);

} // namespace portiqa
