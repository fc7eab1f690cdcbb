#pragma once

class QCoreApplication;

// Puts Qt's own texts (the file, folder and print dialogs, the print
// preview, the buttons of message boxes) into Chinese with Qt's translation
// qtbase_zh_CN from Qt's translations folder (Debian: qt6-translations-l10n).
// The translator belongs to AApplication. False, with Qt's English left as
// it is, when the translation is not installed.
bool InstallQtTranslations(QCoreApplication& AApplication);
