#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace DialogButtons {

static const Button kButtons[] = {
    {mbYes, "Yes", mrYes},         {mbNo, "No", mrNo},
    {mbOK, "OK", mrOk},            {mbCancel, "Cancel", mrCancel},
    {mbAbort, "Abort", mrAbort},   {mbRetry, "Retry", mrRetry},
    {mbIgnore, "Ignore", mrIgnore}, {mbAll, "All", mrAll},
    {mbNoToAll, "No To All", mrNoToAll}, {mbYesToAll, "Yes To All", mrYesToAll},
    {mbHelp, "Help", mrHelp},
};

const Button* all(int* count)
{
    *count = static_cast<int>(std::size(kButtons));
    return kButtons;
}

MsgDlgBtn defaultButton(MsgDlgButtons buttons)
{
    if (buttons & mbOK) return mbOK;
    if (buttons & mbYes) return mbYes;
    return mbRetry;
}

MsgDlgBtn cancelButton(MsgDlgButtons buttons)
{
    if (buttons & mbCancel) return mbCancel;
    if (buttons & mbNo) return mbNo;
    return mbOK;
}

} // namespace DialogButtons

namespace {

QString captionOf(const DialogCaptionLookup& captions, const QString& name, const QString& builtIn)
{
    const QString text = captions ? captions(name) : QString();
    return text.isEmpty() ? builtIn : text;
}

QString builtInButtonCaption(const char* name)
{
    static const QHash<QString, QString> english = {
        {"Yes", "&Yes"}, {"No", "&No"}, {"OK", "OK"}, {"Cancel", "Cancel"}, {"Abort", "&Abort"},
        {"Retry", "&Retry"}, {"Ignore", "&Ignore"}, {"All", "&All"}, {"No To All", "N&o to All"},
        {"Yes To All", "Yes to &All"}, {"Help", "&Help"}};
    return english.value(QString::fromLatin1(name));
}

void centreOnScreen(QWidget* dialog)
{
    dialog->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
}

class RealDialogs : public DialogResponder {
public:
    int message(const MessageRequest& request) override
    {
        QDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(request.title);
        auto* layout = new QVBoxLayout(&dialog);
        auto* row = new QHBoxLayout;
        QStyle::StandardPixmap icon = QStyle::SP_MessageBoxInformation;
        switch (request.type) {
        case MsgDlgType::mtWarning: icon = QStyle::SP_MessageBoxWarning; break;
        case MsgDlgType::mtError: icon = QStyle::SP_MessageBoxCritical; break;
        case MsgDlgType::mtConfirmation: icon = QStyle::SP_MessageBoxQuestion; break;
        case MsgDlgType::mtInformation: break;
        case MsgDlgType::mtCustom: icon = QStyle::SP_CustomBase; break;
        }
        if (icon != QStyle::SP_CustomBase) {
            auto* iconLabel = new QLabel;
            iconLabel->setPixmap(dialog.style()->standardIcon(icon).pixmap(32, 32));
            iconLabel->setAlignment(Qt::AlignTop);
            row->addWidget(iconLabel);
        }
        auto* text = new QLabel(request.text);
        text->setWordWrap(true);
        text->setMinimumWidth(260);
        text->setMaximumWidth(460);
        row->addWidget(text, 1);
        layout->addLayout(row);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        int result = mrNone;
        int count = 0;
        const DialogButtons::Button* all = DialogButtons::all(&count);
        const MsgDlgBtn defaultFlag = DialogButtons::defaultButton(request.buttons);
        const MsgDlgBtn cancelFlag = DialogButtons::cancelButton(request.buttons);
        int cancelResult = mrCancel;
        for (int i = 0; i < count; ++i) {
            if (!(request.buttons & all[i].flag))
                continue;
            auto* button = new QPushButton(captionOf(request.captions, all[i].name, builtInButtonCaption(all[i].name)));
            button->setMinimumWidth(75);
            const int r = all[i].result;
            QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &result, r] {
                result = r;
                dialog.accept();
            });
            if (all[i].flag == defaultFlag) {
                button->setDefault(true);
                button->setFocus();
            }
            if (all[i].flag == cancelFlag)
                cancelResult = r;
            buttons->addWidget(button);
        }
        buttons->addStretch();
        layout->addLayout(buttons);
        centreOnScreen(&dialog);
        if (dialog.exec() != QDialog::Accepted)
            result = cancelResult; // Escape or the window's close box
        return result;
    }

    bool input(const InputRequest& request, QString& value) override
    {
        QDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(request.caption);
        auto* layout = new QVBoxLayout(&dialog);
        auto* prompt = new QLabel(request.prompt);
        prompt->setWordWrap(true);
        auto* edit = new QLineEdit(value);
        edit->setMinimumWidth(300);
        edit->selectAll();
        prompt->setBuddy(edit);
        layout->addWidget(prompt);
        layout->addWidget(edit);
        auto* box = new QDialogButtonBox;
        auto* ok = box->addButton(captionOf(request.captions, "OK", "OK"), QDialogButtonBox::AcceptRole);
        box->addButton(captionOf(request.captions, "Cancel", "Cancel"), QDialogButtonBox::RejectRole);
        ok->setDefault(true);
        QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        layout->addWidget(box);
        centreOnScreen(&dialog);
        edit->setFocus();
        if (dialog.exec() != QDialog::Accepted)
            return false;
        value = edit->text();
        return true;
    }
};

RealDialogs g_realDialogs;
DialogResponder* g_responder = &g_realDialogs;

} // namespace

int DialogResponder::execDialog(QDialog& dialog) { return dialog.exec(); }

QString DialogResponder::fileName(const FileRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.folder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int ExecModal(QDialog& dialog) { return g_responder->execDialog(dialog); }

DialogResponder* SetDialogResponder(DialogResponder* responder)
{
    DialogResponder* old = g_responder;
    g_responder = responder ? responder : &g_realDialogs;
    return old;
}

int MessageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons, const DialogCaptionLookup& captions,
               const QString& customTitle)
{
    MessageRequest request;
    request.text = text;
    request.type = type;
    request.buttons = buttons;
    request.captions = captions;
    switch (type) {
    case MsgDlgType::mtWarning: request.title = captionOf(captions, "Warning", "Warning"); break;
    case MsgDlgType::mtError: request.title = captionOf(captions, "Error", "Error"); break;
    case MsgDlgType::mtInformation: request.title = captionOf(captions, "Information", "Information"); break;
    case MsgDlgType::mtConfirmation: request.title = captionOf(captions, "Confirm", "Confirm"); break;
    case MsgDlgType::mtCustom:
        request.title = customTitle.isEmpty() ? QApplication::applicationName() : customTitle;
        break;
    }
    return g_responder->message(request);
}

QString FileDialog(const FileRequest& request) { return g_responder->fileName(request); }

QStringList FileDialogFilters(const QString& pairs)
{
    QStringList filters;
    const QStringList parts = pairs.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        const QString& description = parts[i];
        filters << (description.trimmed().endsWith(u')') ? description : description + QStringLiteral(" (%1)").arg(patterns));
    }
    return filters;
}

bool InputQuery(const QString& caption, const QString& prompt, QString& value, const DialogCaptionLookup& captions)
{
    InputRequest request{caption, prompt, captions};
    QString answer = value;
    if (!g_responder->input(request, answer))
        return false;
    value = answer;
    return true;
}
