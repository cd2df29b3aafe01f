#pragma once
// Qt's own texts (the standard buttons of message boxes, the context menus
// of text fields) in Russian, whatever the system's language: every text of
// the program is Russian. The translations come with the Qt installation
// (qtbase_ru.qm in its translations folder). What Qt formats through the
// default locale (month and day names, the file dialogs' file types) is
// Russian as well, under C.UTF-8 too, and so is Qt's picture of the system
// locale (the dates of the file dialogs). The file dialogs are Qt's own: a
// desktop's native dialog speaks the system's language.
namespace widgets {

// Makes Russia's Russian the default locale, turns the native dialogs off and
// installs the translator on the application; false when the translation
// file is missing.
bool loadQtTranslation();

// Qt reads the system locale from LC_ALL / LC_TIME / LANG once, the first
// time it is asked: asked here under LC_ALL=ru_RU.UTF-8, it keeps Russian.
// The environment is put back at once, so the C library (set up by the
// application object), the engine and the programs started from here see it
// unchanged. Must run before the application object exists.
void useRussianSystemLocale();

}  // namespace widgets
