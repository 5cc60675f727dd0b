#pragma once
// Qt's own Japanese texts for what the dialog borrows from Qt: the file chooser's labels and
// buttons and the warning box's "OK", so they speak the dialog's language.
class QTranslator;

namespace quorlane {

// Loads Qt's Japanese translation from Qt's translations folder into `translator` and installs
// it in the running application. False when it is not there (the texts stay English); the
// translator must outlive the windows that use it.
bool installQtJapanese(QTranslator& translator);

}  // namespace quorlane
