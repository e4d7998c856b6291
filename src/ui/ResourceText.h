#pragma once
// The program's resources in the language its user reads: German on a German
// user interface, English on any other, unless the command line chose. Every
// text, menu and dialog template is loaded by that language explicitly, so
// the choice holds on XP and Wine alike, whatever the thread locale.

#include <windows.h>

#include <string>

enum class Language { kGerman, kEnglish };

// The language the user's interface language asks for.
Language UserLanguage();
// What the resources below come in from now on; until this is called, the
// user's language.
void UseLanguage(Language language);
Language CurrentLanguage();
// The resource language tag of the language's resources.
LANGID ResourceLanguage(Language language);

// Texts of the string table, in the ANSI code page, at their full length.
std::string LoadText(int id);
// A menu of the program, for the caller to destroy (DestroyMenu) unless it is
// a window's menu bar.
HMENU LoadMenuResource(int id);
// A dialog template of the program, valid as long as the program runs.
const DLGTEMPLATE* DialogTemplate(int id);
