#pragma once
// Qt's own texts (the standard buttons of message boxes, the context menus
// of text fields) in Russian, whatever the system's language: every text of
// the program is Russian. The translations come with the Qt installation
// (qtbase_ru.qm in its translations folder).
namespace widgets {

// Installs the translator on the application; false when the file is missing.
bool loadQtTranslation();

}  // namespace widgets
