// The main window's lesson actions: start or edit, the checks before a
// lesson opens, the new-lesson dialog and deleting a lesson.
#include "widgets/Background.h"
#include "app/Mainform.h"

#include "widgets/Artwork.h"
#include "app/Lektionenliste.h"
#include "i18n/LangDialogs.h"
#include "learning/Geo.h"
#include "lesson/Geoobj.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "lesson/MemoryPairings.h"
#include "lesson/TLernOptionen.h"
#include "platform/ErrorDisplay.h"
#include "platform/IniFile.h"
#include "results/ResultFile.h"
#include "widgets/FlatButton.h"
#include "widgets/LessonListBox.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMap>

namespace {
const QString kLektion = QStringLiteral("Lektion");
const QString kAllgemeines = QStringLiteral("Allgemeines");
} // namespace

void Tfrm_main::StartOrEdit(int newChoice)
{
    const bool isNew = EditorMode && newChoice != 0;
    if (m_view)
        return;
    QListWidgetItem* selected = m_lessonList->currentItem();
    if (!selected && !isNew)
        return;
    QString path;
    if (!(isNew && (newChoice == 1 || newChoice == 2))) {
        if (!selected)
            return;
        path = m_options->LessonPath(LessonListBox::FilePart(selected->text()));
        if (!QFile::exists(path)) {
            MessageDlg(lang, lang.GetText(QStringLiteral("open_error")), MsgDlgType::mtError, mbOK);
            return;
        }
    }
    std::unique_ptr<TLernOptionen> options = OpenLesson(path, isNew);
    if (!options)
        return;

    TGeo* view = nullptr;
    try {
        if (EditorMode) {
            if (!StartHooks.CreateEditorView)
                return;
            ShowPage(QStringLiteral("Lernen"));
            ShowToolbar(Toolbar(QStringLiteral("Toolbar_Editor")));
            const QString argument = newChoice == 1 ? QStringLiteral("image") : newChoice == 2 ? QStringLiteral("globe") : path;
            view = StartHooks.CreateEditorView(LessonPage(), isNew && newChoice == 3, argument, std::move(options));
            Button(QStringLiteral("btn_Editor_Allgemeines"))->setChecked(true);
        } else {
            if (!StartHooks.CreateLearningView)
                return;
            const int mode = options->Mode;
            ShowPage(QStringLiteral("Lernen"));
            Button(QStringLiteral("btn_Lernen_Aufloesen"))->setVisible(mode == 0);
            Button(QStringLiteral("btn_Lernen_Tip"))->setVisible(mode == 3);
            ShowToolbar(Toolbar(QStringLiteral("Toolbar_Lernen")));
            view = StartHooks.CreateLearningView(LessonPage(), path, std::move(options));
            if (view)
                view->AttachRevealButton(Button(QStringLiteral("btn_Lernen_Aufloesen")));
        }
    } catch (const std::exception& error) {
        // The lesson could not be read: say why and go back; nothing stays half-open.
        ShowException(error);
        ReturnToCatalogue();
        return;
    }
    if (!view) {
        ReturnToCatalogue();
        return;
    }
    m_view = view;
    view->OnDestroyed = [this](TGeo*) { ReturnToCatalogue(); };
}

bool Tfrm_main::MemoryOffered(const IniFile& file)
{
    if (file.ReadBool(kAllgemeines, QStringLiteral("LHDatei"), false))
        return true;
    const QString type = file.ReadString(kLektion, QStringLiteral("Typ"), QStringLiteral("globe")).toLower();
    if (type != u"globe" && type != u"iglobe")
        return false;
    if (!file.SectionExists(QStringLiteral("L")) && !file.SectionExists(QStringLiteral("T")))
        return false;
    // The other categories may only hold settings or switched-off terms.
    QMap<QString, QString> gathered;
    QStringList order;
    for (const char* section : {"C", "I", "F", "S"}) {
        for (const auto& [key, value] : ReadSectionPairs(file, QString::fromLatin1(section))) {
            if (!gathered.contains(key))
                order << key;
            gathered.insert(key, value);
        }
    }
    for (const QString& key : order) {
        const QString value = gathered.value(key);
        if (value.isEmpty())
            continue;
        if (key != u"Settings" && !value.startsWith(QStringLiteral("xxx")))
            return false;
    }
    return true;
}

std::unique_ptr<TLernOptionen> Tfrm_main::OpenLesson(const QString& path, bool isNew)
{
    std::unique_ptr<IniFile> file;
    if (!path.isEmpty())
        file = IniFile::OpenLimited(path, LessonFile::kMaxFileBytes);
    const IniFile empty(QString{});
    const IniFile& lesson = file ? *file : empty;
    if (LessonFile::Version(lesson) > LessonFile::kNewestVersion) {
        MessageDlg(lang, lang.GetText(QStringLiteral("NewVersion")), MsgDlgType::mtError, mbOK);
        return nullptr;
    }
    auto options = std::make_unique<TLernOptionen>();
    options->Options = m_options.get();
    if (EditorMode) {
        if (LessonFile::IsStandardLesson(lesson) && !isNew) {
            MessageDlg(lang, lang.GetText(QStringLiteral("standard_lec")), MsgDlgType::mtInformation, mbOK);
            return nullptr;
        }
        return options;
    }
    // The game is offered only with at least one pairing it can deal.
    bool memory = MemoryOffered(lesson);
    if (memory) {
        options->MemoryPairings = MemoryPairings::AvailableIn(lesson, m_options->ShippedFolder);
        memory = options->MemoryPairings != 0;
    }
    if (!StartHooks.LearningSettings || !StartHooks.LearningSettings(*options, memory, lang.ActiveLanguage()))
        return nullptr;
    // A picture map takes no clicks: its test is always the typed one.
    if (LessonFile::IsPictureType(LessonFile::LessonType(lesson)))
        options->ViewOnMap = false;
    return options;
}

int Tfrm_main::NewLessonDialog()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("NewLessonDialog"));
    dialog.setWindowTitle(lang.GetText(QStringLiteral("lek_new")));
    dialog.setFixedSize(255, 185);
    dialog.setFont(font());
    FillBackground(&dialog);
    int result = 0;
    struct Choice {
        int number, top;
        const char *key, *glyph;
    };
    const Choice choices[] = {{1, 10, "lek_image", "image"}, {2, 40, "lek_globe", "map"},
                              {3, 70, "lek_copy", "copy"}, {4, 120, "Cancel", "quit"}};
    for (const Choice& c : choices) {
        auto* button = new FlatButton(QString::fromLatin1(c.key), Artwork::Glyph(QString::fromLatin1(c.glyph)), &dialog);
        button->setFixedSize(230, 30);
        button->move(10, c.top);
        button->setText(lang.GetText(QString::fromLatin1(c.key)));
        if (c.number == 3)
            button->setEnabled(m_lessonList->currentItem() != nullptr);
        const int number = c.number;
        connect(button, &QToolButton::clicked, &dialog, [&dialog, &result, number] {
            result = number;
            dialog.accept();
        });
    }
    ExecModal(dialog);
    return result;
}

void Tfrm_main::DeleteLesson()
{
    QListWidgetItem* selected = m_lessonList->currentItem();
    if (!selected)
        return;
    const QString entry = selected->text();
    const QString name = LessonListBox::DisplayPart(entry).remove(u'#');
    const QString fileName = LessonListBox::FilePart(entry);
    const QString path = m_options->LessonPath(fileName);
    const std::unique_ptr<IniFile> file = IniFile::OpenLimited(path, LessonFile::kMaxFileBytes);
    // What ships is never deleted, standard lesson or not.
    if (LessonFile::IsStandardLesson(*file) || !path.startsWith(m_options->LessonFolder)) {
        MessageDlg(lang, lang.GetText(QStringLiteral("standard_lec_delete")), MsgDlgType::mtInformation, mbOK);
        return;
    }
    if (MessageDlg(lang, FormatText(lang.GetText(QStringLiteral("format_del")), {name}), MsgDlgType::mtConfirmation,
                   mbYes | mbNo) != mrYes)
        return;
    const QString picture = file->ReadString(kAllgemeines, QStringLiteral("Bitmap"));
    if (!picture.isEmpty() && QFile::exists(m_options->LessonFolder + picture))
        QFile::remove(m_options->LessonFolder + picture);
    QFile::remove(path);
    EraseLessonResults(m_options->ResultFolder(), fileName); // from every user's result file
    m_catalogue->Refill();
}
