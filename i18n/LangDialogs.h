#pragma once

#include "i18n/LangDictionary.h"
#include "platform/Dialogs.h"

// Message and input dialogs whose titles and button captions come from a
// window's dictionary (its DlgsCaptions table).
int MessageDlg(const TLangDictionary& dictionary, const QString& text, MsgDlgType type, MsgDlgButtons buttons);
bool InputQuery(const TLangDictionary& dictionary, const QString& caption, const QString& prompt, QString& value);
