#pragma once

#include "i18n/LangDictionary.h"

// The main window's dictionary. Texts the lesson model composes (kind names,
// question texts) come from it in its active language. Until a main window
// registers its own, a dictionary loaded from the resources in language 1
// serves.
TLangDictionary& MainDictionary();
void SetMainDictionary(TLangDictionary* dictionary);
