// Qt's own texts (the buttons and labels of the file, folder and printer dialogs) in Japanese,
// from the translations the system installs beside Qt.
#pragma once

class QCoreApplication;

namespace paylark::ui {

// Loads Qt's Japanese translations (qtbase_ja, else qt_ja) from Qt's translations folder into
// the application; false when none is installed, and Qt's dialogs then stay in English.
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace paylark::ui
