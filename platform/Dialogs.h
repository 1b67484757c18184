#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// Modal message and input dialogs. Every dialog goes through one responder,
// so tests can answer dialogs without a human; the default responder shows
// real dialogs.

enum class MsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum MsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
};
using MsgDlgButtons = unsigned;

enum ModalResult {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
    mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrHelp = 11,
};

// Looks up a dialog caption by its name ("Warning", "Yes", "No To All" ...);
// an empty result means "use the built-in English caption".
using DialogCaptionLookup = std::function<QString(const QString& name)>;

struct MessageRequest {
    QString title;
    QString text;
    MsgDlgType type = MsgDlgType::mtInformation;
    MsgDlgButtons buttons = mbOK;
    DialogCaptionLookup captions;
};

struct InputRequest {
    QString caption;
    QString prompt;
    DialogCaptionLookup captions;
};

// A file to open or to save, chosen by the user.
struct FileRequest {
    bool save = false;
    QString title;
    QStringList filters;   // "Description (*.a *.b)", the first one chosen
    QString folder;        // where the dialog starts
    QString defaultSuffix; // added to a typed name without one
};

class DialogResponder {
public:
    virtual ~DialogResponder() = default;
    virtual int message(const MessageRequest& request) = 0;
    // Returns true when confirmed; `value` holds the preset and receives the answer.
    virtual bool input(const InputRequest& request, QString& value) = 0;
    // Runs one of the program's own modal dialogs (the welcome dialog and
    // the like); the real responder calls exec().
    virtual int execDialog(QDialog& dialog);
    // The chosen file's path, empty when the user cancelled; the real
    // responder shows the platform's file dialog.
    virtual QString fileName(const FileRequest& request);
};

// Shows a modal dialog of the program through the responder.
int ExecModal(QDialog& dialog);

// Replaces the responder (nullptr restores the real dialogs); returns the old one.
DialogResponder* SetDialogResponder(DialogResponder* responder);

int MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons,
               const DialogCaptionLookup& captions = {}, const QString& customTitle = {});
bool InputQuery(const QString& caption, const QString& prompt, QString& value,
                const DialogCaptionLookup& captions = {});
// The file chosen in an open or save dialog; empty when cancelled.
QString FileDialog(const FileRequest& request);
// The dictionary's filter texts ("Description|*.a;*.b|...") as the filters
// of a FileRequest.
QStringList FileDialogFilters(const QString& pairs);

// The button order of message dialogs and the default and cancel buttons.
namespace DialogButtons {
struct Button {
    MsgDlgBtn flag;
    const char* name; // caption name in the dictionary
    ModalResult result;
};
const Button* all(int* count);
MsgDlgBtn defaultButton(MsgDlgButtons buttons);
MsgDlgBtn cancelButton(MsgDlgButtons buttons);
} // namespace DialogButtons
