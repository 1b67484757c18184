#include "i18n/MainDictionary.h"

namespace {
TLangDictionary* g_registered = nullptr;
}

TLangDictionary& MainDictionary()
{
    if (g_registered)
        return *g_registered;
    static TLangDictionary fallback = TLangDictionary::forWindow(QStringLiteral("Tfrm_main"));
    return fallback;
}

void SetMainDictionary(TLangDictionary* dictionary) { g_registered = dictionary; }
