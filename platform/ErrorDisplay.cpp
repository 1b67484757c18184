#include "platform/ErrorDisplay.h"

#include "platform/Dialogs.h"
#include "platform/OrbiloError.h"

namespace {
DialogCaptionLookup& errorCaptions()
{
    static DialogCaptionLookup captions;
    return captions;
}
} // namespace

void SetErrorDialogCaptions(DialogCaptionLookup captions) { errorCaptions() = std::move(captions); }

void ShowException(const std::exception& error)
{
    const auto* own = dynamic_cast<const OrbiloError*>(&error);
    MessageDlg(own ? own->message() : QString::fromLocal8Bit(error.what()), MsgDlgType::mtError, mbOK, errorCaptions());
}

void ShowUnknownException()
{
    MessageDlg(QStringLiteral("Unknown error"), MsgDlgType::mtError, mbOK, errorCaptions());
}
