#include "editor/GeoVisualImageEditor.h"

#include "codec/GifCodec.h"
#include "editor/EditorStyle.h"
#include "editor/GeoObjEdit.h"
#include "editor/LessonFileName.h"
#include "editor/PictureImport.h"
#include "editor/RegionSeeds.h"
#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "lesson/TGeoItem.h"
#include "maps/PictureControl.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/OrbiloError.h"
#include "widgets/FlatButton.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>

namespace {

constexpr TColor kRegionColour = 0x0000FF; // red, as the question being asked

void tellFailure(const char* key, const OrbiloError& error)
{
    const TLangDictionary& dictionary = MainDictionary();
    MessageDlg(dictionary, dictionary.GetText(QString::fromLatin1(key)) + QStringLiteral("\r\n\r\n") + error.message(),
               MsgDlgType::mtError, mbOK);
}

} // namespace

TGeoVisualImageEditor::TGeoVisualImageEditor(QWidget* lessonView, const QString& programFolder, TDaten& lesson)
    : TGeoVisualImage(lessonView, programFolder, lesson)
{
    Picture->installEventFilter(this);
}

bool TGeoVisualImageEditor::LoadLesson(const QString& lessonPath, const IniFile& lessonFile)
{
    const bool loaded = TGeoVisualImage::LoadLesson(lessonPath, lessonFile);
    m_clean = Picture->Bitmap();
    return loaded;
}

// ------------------------------------------------------------ the tools

QWidget* TGeoVisualImageEditor::CreateToolPanel()
{
    QWidget* panel = TGeoVisualImage::CreateToolPanel();
    if (LoadButton)
        return panel;
    const TLangDictionary& dictionary = MainDictionary();
    const auto button = [&](const char* key, int glyph, int top) {
        FlatButton* b =
            EditorStyle::Button(QString::fromLatin1(key), EditorStyle::GeoImage(glyph), panel, 5, top, 120, 25);
        b->setText(dictionary.GetText(QString::fromLatin1(key)));
        return b;
    };
    LoadButton = button("Map_Load", 3, 5);
    SaveButton = button("Map_Save", 4, 35);
    CopyButton = button("Copy", 5, 65);
    PasteButton = button("Paste", 6, 95);
    connect(LoadButton, &QToolButton::clicked, this, [this] { LoadPictureFile(); });
    connect(SaveButton, &QToolButton::clicked, this, [this] { SavePictureFile(); });
    connect(CopyButton, &QToolButton::clicked, this, [this] { CopyPicture(); });
    connect(PasteButton, &QToolButton::clicked, this, [this] { PastePicture(); });
    return panel;
}

void TGeoVisualImageEditor::LoadPictureFile()
{
    const TLangDictionary& dictionary = MainDictionary();
    FileRequest request;
    request.title = dictionary.GetText(QStringLiteral("Map_Load")).remove(u'&');
    request.filters = FileDialogFilters(dictionary.GetText(QStringLiteral("filter_picture")) + u'|' +
                                        dictionary.GetText(QStringLiteral("filter_gif")));
    request.folder = QDir::homePath();
    const QString path = FileDialog(request);
    if (path.isEmpty())
        return;
    QImage picture;
    try {
        picture = PictureImport::ReadFile(path);
    } catch (const OrbiloError& error) {
        tellFailure("map_load_error", error);
        return;
    }
    ReplacePicture(picture);
}

void TGeoVisualImageEditor::SavePictureFile()
{
    if (m_clean.isNull())
        return;
    const TLangDictionary& dictionary = MainDictionary();
    FileRequest request;
    request.save = true;
    request.title = dictionary.GetText(QStringLiteral("Map_Save")).remove(u'&');
    request.filters = FileDialogFilters(dictionary.GetText(QStringLiteral("filter_gif")));
    request.folder = QDir::homePath();
    request.defaultSuffix = QStringLiteral("gif");
    QString path = FileDialog(request);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".gif"), Qt::CaseInsensitive))
        path += QStringLiteral(".gif");
    try {
        GifCodec::saveFile(m_clean, path); // the lesson itself is not changed by this
    } catch (const OrbiloError& error) {
        tellFailure("map_save_error", error);
    }
}

void TGeoVisualImageEditor::CopyPicture()
{
    if (!m_clean.isNull())
        QApplication::clipboard()->setImage(m_clean);
}

void TGeoVisualImageEditor::PastePicture()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasImage())
        return;
    const QImage pasted = QApplication::clipboard()->image();
    if (pasted.isNull())
        return;
    try {
        ReplacePicture(PictureImport::ToLessonColours(pasted));
    } catch (const OrbiloError& error) {
        tellFailure("map_load_error", error);
    }
}

void TGeoVisualImageEditor::ReplacePicture(const QImage& picture)
{
    m_clean = picture.convertToFormat(QImage::Format_RGB32);
    HighlightedItem = nullptr; // its fill went with the old picture
    Picture->SetBitmap(m_clean);
    ArrangeContent();
    if (m_editing && m_panel)
        ShowRegion(m_panel->PendingRegion());
    PictureReplaced = true;
    if (OnModified)
        OnModified(this, nullptr);
}

QString TGeoVisualImageEditor::SaveBesideLesson(const QString& lessonPath, QString& bitmap, const QString& sharedSource)
{
    const bool replaced = PictureReplaced && !m_clean.isNull();
    const bool copyShared = !sharedSource.isEmpty() && QFile::exists(sharedSource);
    if (!replaced && !copyShared)
        return {};
    const QString folder = QFileInfo(lessonPath).absolutePath() + u'/';
    const bool ownPicture = sharedSource.isEmpty() && !bitmap.isEmpty() && QFileInfo(bitmap).fileName() == bitmap &&
                            bitmap != u".." && !bitmap.contains(u'\\');
    const QString target =
        ownPicture ? folder + bitmap
                   : UniqueFilePath(folder, QFileInfo(lessonPath).completeBaseName(), QStringLiteral(".gif"));
    if (replaced)
        GifCodec::saveFile(m_clean, target);
    else
        writeFileAtomically(target, readWholeFile(sharedSource));
    PictureReplaced = false;
    bitmap = QFileInfo(target).fileName();
    return ownPicture ? QString() : target;
}

// ------------------------------------------------------------ regions

QWidget* TGeoVisualImageEditor::CreateItemEditPanel()
{
    if (m_panel)
        return m_panel;
    m_panel = new TGeoObjEditImage(MainDictionary(), this);
    m_panel->OnRegionChanged = [this](const QString& region) {
        if (!m_editing) {
            m_editing = true;
            m_highlightBeforeEdit = HighlightedItem;
        }
        Picture->setCursor(m_panel->RegionEditable() ? Qt::CrossCursor : Qt::ArrowCursor);
        ShowRegion(region);
    };
    m_panel->OnEditEnded = [this](TGeoItem* item) { EditEnded(item); };
    return m_panel;
}

void TGeoVisualImageEditor::ShowClean()
{
    Picture->Bitmap() = m_clean;
    Picture->update();
    HighlightedItem = nullptr;
}

void TGeoVisualImageEditor::ShowRegion(const QString& region)
{
    ShowClean();
    // Only what parses: a damaged region of an opened lesson shows what it can.
    FillRegion(RegionSeeds::Format(RegionSeeds::Parse(region)), kRegionColour);
}

void TGeoVisualImageEditor::EditEnded(TGeoItem* confirmedItem)
{
    m_editing = false;
    Picture->unsetCursor();
    ShowClean();
    // The map shows the selected question again: the edited one, or the
    // one shown before a cancelled edit.
    TGeoItem* shown = confirmedItem && !confirmedItem->Region.isEmpty() ? confirmedItem : m_highlightBeforeEdit;
    m_highlightBeforeEdit = nullptr;
    if (shown)
        HighlightItem(shown, false);
}

void TGeoVisualImageEditor::PictureClicked(QPoint pixel)
{
    if (!m_panel || !m_panel->RegionEditable() || m_clean.isNull())
        return;
    QString region = m_panel->PendingRegion();
    switch (RegionSeeds::Toggle(m_clean, region, pixel)) {
    case RegionSeeds::Click::Added:
    case RegionSeeds::Click::Removed:
        m_panel->SetPendingRegion(region);
        break;
    case RegionSeeds::Click::OnBorder: {
        const TLangDictionary& dictionary = MainDictionary();
        MessageDlg(dictionary, dictionary.GetText(QStringLiteral("region_border")), MsgDlgType::mtInformation, mbOK);
        break;
    }
    case RegionSeeds::Click::Outside:
        break;
    }
}

bool TGeoVisualImageEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            PictureClicked(mouse->position().toPoint());
            return true;
        }
    }
    return TGeoVisualImage::eventFilter(watched, event);
}
