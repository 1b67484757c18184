#include "app/Austausch.h"

#include "app/Lektionenliste.h"
#include "app/Mainform.h"
#include "i18n/DictionaryApplier.h"
#include "i18n/LangDialogs.h"
#include "lesson/Geoobj.h"
#include "lesson/LessonExchange.h"
#include "lesson/LessonHeader.h"
#include "platform/ErrorDisplay.h"
#include "platform/IniFile.h"
#include "widgets/Artwork.h"
#include "widgets/FlatButton.h"
#include "widgets/LessonListBox.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>

namespace {

using LessonExchange::Problem;

} // namespace

TAustausch::TAustausch(Tfrm_main& mainWindow) : QObject(&mainWindow), m_main(mainWindow)
{
    setObjectName(QStringLiteral("Austausch"));
    m_menu = new QMenu(&mainWindow);
    m_menu->setObjectName(QStringLiteral("Popup_Export"));
    m_import = m_menu->addAction(Artwork::Glyph(QStringLiteral("import")), QString());
    m_import->setObjectName(QStringLiteral("menu_Import"));
    m_export = m_menu->addAction(Artwork::Glyph(QStringLiteral("export")), QString());
    m_export->setObjectName(QStringLiteral("menu_Export"));

    // In the catalogue panel: the request in the place of the group box, the
    // check list in the place of the lesson list.
    QWidget* panel = mainWindow.findChild<QWidget*>(QStringLiteral("Lektionspanel"));
    m_label = new QLabel(panel);
    m_label->setObjectName(QStringLiteral("lbl_Export"));
    m_label->setGeometry(5, 12, 580, 24);
    m_label->hide();
    QWidget* listPanel = mainWindow.findChild<QWidget*>(QStringLiteral("pn_list_Lektionen"));
    m_checkList = new QListWidget(listPanel);
    m_checkList->setObjectName(QStringLiteral("lektionen_cb"));
    m_checkList->setFrameShape(QFrame::NoFrame);
    m_checkList->setUniformItemSizes(true);
    // Rows as high as the catalogue's, the chosen one grey as there.
    m_checkList->setStyleSheet(QStringLiteral("QListWidget { background: white; }"
                                              "QListWidget::item { height: 19px; padding-left: 3px; color: black; }"
                                              "QListWidget::item:selected { background: #DBDBDB; color: black; }"));
    m_checkList->hide();
    if (listPanel && listPanel->layout())
        listPanel->layout()->addWidget(m_checkList);
    // Space ticks the current entry, a click on the name too.
    connect(m_checkList, &QListWidget::itemActivated, this, [](QListWidgetItem* item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    connect(mainWindow.Button(QStringLiteral("btn_LEditor_Austausch")), &QToolButton::clicked, this,
            Guarded([this] { ShowMenu(); }));
    connect(m_export, &QAction::triggered, this, Guarded([this] { StartExportSelection(); }));
    connect(m_import, &QAction::triggered, this, Guarded([this] { Import(); }));
    connect(mainWindow.Button(QStringLiteral("btn_Export_Export")), &QToolButton::clicked, this,
            Guarded([this] { ExportChecked(); }));
    // The main window puts its catalogue back; the selection's own controls go here.
    connect(mainWindow.Button(QStringLiteral("btn_Export_Zurueck")), &QToolButton::clicked, this,
            [this] { leaveExportSelection(); });
    // The texts of the new controls, now; later switches reach them by name.
    applyDictionary(&mainWindow, mainWindow.lang);
}

void TAustausch::ShowMenu()
{
    FlatButton* button = m_main.Button(QStringLiteral("btn_LEditor_Austausch"));
    m_menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void TAustausch::StartExportSelection()
{
    m_main.EditorMode = true;
    m_main.ExportMode = true;
    // "Export lesson" is longer than a toolbar button is wide.
    FlatButton* exportButton = m_main.Button(QStringLiteral("btn_Export_Export"));
    const int needed = exportButton->iconSize().width() + exportButton->fontMetrics().horizontalAdvance(exportButton->text()) + 24;
    exportButton->setFixedWidth(std::max(100, needed));
    m_main.ShowToolbar(m_main.Toolbar(QStringLiteral("Toolbar_Export")));
    m_main.ShowPage(QStringLiteral("Lektionen"));
    m_main.Kat()->hide();
    if (QWidget* katLabel = m_main.findChild<QWidget*>(QStringLiteral("lbl_Kat")))
        katLabel->hide();
    // Every lesson of one's own, from all groups; standard lessons stay.
    m_checkList->clear();
    const QString folder = m_main.Optionen().LessonFolder;
    const QStringList entries = TLektionenList::CollectEntries(folder, -2, m_main.lang.ActiveLanguage());
    auto shownName = [](const QString& entry) { return LessonListBox::DisplayPart(entry).remove(u'#').remove(QChar(0xBF)); };
    QStringList names;
    for (const QString& entry : entries)
        names << shownName(entry);
    for (const QString& entry : entries) {
        // Lessons of the same name are told apart by their files.
        QString name = shownName(entry);
        if (names.count(name) > 1)
            name += QStringLiteral(" (%1)").arg(LessonListBox::FilePart(entry));
        auto* item = new QListWidgetItem(name, m_checkList);
        item->setData(Qt::UserRole, LessonListBox::FilePart(entry));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (m_checkList->count() > 0)
        m_checkList->setCurrentRow(0);
    m_main.lektionen()->hide();
    m_label->show();
    m_checkList->show();
    m_checkList->setFocus();
}

QStringList TAustausch::CheckedLessons() const
{
    QStringList files;
    for (int row = 0; row < m_checkList->count(); ++row)
        if (m_checkList->item(row)->checkState() == Qt::Checked)
            files << m_checkList->item(row)->data(Qt::UserRole).toString();
    return files;
}

void TAustausch::leaveExportSelection()
{
    m_label->hide();
    m_checkList->hide();
    m_checkList->clear();
    m_main.lektionen()->show();
    m_main.lektionen()->setFocus();
}

void TAustausch::ExportChecked()
{
    const TLangDictionary& lang = m_main.lang;
    const QStringList lessons = CheckedLessons();
    if (lessons.isEmpty()) {
        MessageDlg(lang, lang.GetText(QStringLiteral("export_noselection")), MsgDlgType::mtInformation, mbOK);
        return;
    }
    FileRequest request;
    request.save = true;
    request.title = lang.GetText(QStringLiteral("geo_export"));
    request.filters = FileDialogFilters(lang.GetText(QStringLiteral("geo_save_filter")));
    request.folder = m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
    request.defaultSuffix = QStringLiteral("geo");
    QString target = FileDialog(request);
    if (target.isEmpty())
        return; // the selection stays
    // An exchange file never takes the place of a lesson or a picture.
    if (!target.endsWith(QStringLiteral(".geo"), Qt::CaseInsensitive))
        target += QStringLiteral(".geo");
    m_lastFolder = QFileInfo(target).absolutePath();
    try {
        LessonExchange::Export(m_main.Optionen().LessonFolder, lessons, target);
    } catch (const LessonExchange::ExchangeError& error) {
        MessageDlg(lang,
                   lang.GetText(QStringLiteral("export_error")) + QStringLiteral("\r\n\r\n") +
                       reasonText(static_cast<int>(error.problem()), error.detail()),
                   MsgDlgType::mtError, mbOK);
        return;
    } catch (const OrbiloError& error) {
        MessageDlg(lang, lang.GetText(QStringLiteral("export_error")) + QStringLiteral("\r\n\r\n") + error.message(),
                   MsgDlgType::mtError, mbOK);
        return;
    }
    MessageDlg(lang, lang.GetText(QStringLiteral("export_success")), MsgDlgType::mtInformation, mbOK);
    m_main.Button(QStringLiteral("btn_Export_Zurueck"))->click();
}

void TAustausch::Import()
{
    const TLangDictionary& lang = m_main.lang;
    // Single lesson files are accepted as well.
    QString pairs = lang.GetText(QStringLiteral("geo_open_filter"));
    if (const qsizetype first = pairs.indexOf(u'|'); first >= 0) {
        const qsizetype end = pairs.indexOf(u'|', first + 1);
        pairs.insert(end < 0 ? pairs.size() : end, QStringLiteral(";*.lek"));
    }
    pairs += u'|' + lang.GetText(QStringLiteral("geo_lek_filter"));
    FileRequest request;
    request.title = lang.GetText(QStringLiteral("geo_import"));
    request.filters = FileDialogFilters(pairs);
    request.folder = m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
    const QString source = FileDialog(request);
    if (source.isEmpty())
        return;
    m_lastFolder = QFileInfo(source).absolutePath();
    LessonExchange::ImportResult result;
    try {
        result = LessonExchange::Import(source, m_main.Optionen().LessonFolder, m_main.Optionen().LessonFolders());
    } catch (const LessonExchange::ExchangeError& error) {
        MessageDlg(lang,
                   lang.GetText(QStringLiteral("import_error")) + QStringLiteral("\r\n\r\n") +
                       reasonText(static_cast<int>(error.problem()), error.detail()),
                   MsgDlgType::mtError, mbOK);
        return;
    } catch (const OrbiloError& error) {
        MessageDlg(lang, lang.GetText(QStringLiteral("import_error")) + QStringLiteral("\r\n\r\n") + error.message(),
                   MsgDlgType::mtError, mbOK);
        return;
    }
    showImported(result.LessonFiles);
    ::MessageDlg(FormatText(lang.GetText(QStringLiteral("import_success")), {QString::number(result.LessonFiles.size())}),
                 MsgDlgType::mtCustom, mbOK, [&lang](const QString& name) { return lang.dialogCaption(name); },
                 lang.GetText(QStringLiteral("import_confirm")));
}

void TAustausch::showImported(const QStringList& lessonFiles)
{
    // The catalogue turns to the group of the first lesson that came in and
    // selects it.
    if (lessonFiles.isEmpty())
        return;
    const QString folder = m_main.Optionen().LessonFolder;
    const std::unique_ptr<IniFile> file = IniFile::OpenLimited(folder + lessonFiles.first(), LessonFile::kMaxFileBytes);
    const int group = LessonFile::CatalogueGroup(*file);
    if (m_main.EditorMode && !m_main.ExportMode && m_main.Kat()->count() >= group) {
        const QSignalBlocker block(m_main.Kat());
        m_main.Kat()->setCurrentIndex(group - 1);
    }
    m_main.Lektionen().Filter = m_main.EditorMode ? group : m_main.Lektionen().Filter;
    m_main.Lektionen().Refill();
    LessonListBox* list = m_main.lektionen();
    for (int row = 0; row < list->count(); ++row)
        if (LessonListBox::FilePart(list->item(row)->text()).compare(lessonFiles.first(), Qt::CaseInsensitive) == 0)
            list->setCurrentRow(row);
}

QString TAustausch::reasonText(int problem, const QString& detail) const
{
    const TLangDictionary& lang = m_main.lang;
    switch (static_cast<Problem>(problem)) {
    case Problem::OlderFormat: return lang.GetText(QStringLiteral("import_lkp"));
    case Problem::NotExchangeFile: return lang.GetText(QStringLiteral("import_notgeo"));
    case Problem::Damaged: return lang.GetText(QStringLiteral("import_damaged"));
    case Problem::Unsafe: return lang.GetText(QStringLiteral("import_unsafe"));
    case Problem::TooLarge: return lang.GetText(QStringLiteral("import_toolarge"));
    case Problem::NewerFormat: return lang.GetText(QStringLiteral("import_newer"));
    case Problem::NoLessons: return lang.GetText(QStringLiteral("import_nolessons"));
    case Problem::MissingPicture: return FormatText(lang.GetText(QStringLiteral("exchange_picture")), {detail});
    case Problem::WriteFailed: break;
    }
    return detail; // names the file the disk refused
}
