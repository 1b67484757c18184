#include "i18n/LangDialogs.h"

namespace {
DialogCaptionLookup captionsOf(const TLangDictionary& dictionary)
{
    return [&dictionary](const QString& name) { return dictionary.dialogCaption(name); };
}
} // namespace

int MessageDlg(const TLangDictionary& dictionary, const QString& text, MsgDlgType type, MsgDlgButtons buttons)
{
    return MessageDlg(text, type, buttons, captionsOf(dictionary));
}

bool InputQuery(const TLangDictionary& dictionary, const QString& caption, const QString& prompt, QString& value)
{
    return InputQuery(caption, prompt, value, captionsOf(dictionary));
}
