#include "editor/GeoEditor.h"

#include "editor/CategoryDelegate.h"
#include "editor/EditorStyle.h"
#include "editor/GeoInputEditor.h"
#include "editor/GeoObjEdit.h"
#include "editor/GeoVisualGlobeEditor.h"
#include "editor/GeoVisualImageEditor.h"
#include "editor/KatEdit.h"
#include "editor/LessonFileName.h"
#include "globe/GlobeClasses.h"
#include "globe/GlobeLayer.h"
#include "globe/GlobeLayerStore.h"
#include "globe/GlobeView.h"
#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "lesson/Geoobj.h"
#include "lesson/LessonHeader.h"
#include "lesson/LessonValues.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "maps/GeoVisualGlobe.h"
#include "maps/GeoVisualImage.h"
#include "maps/GlobeLessonLink.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "platform/OrbiloError.h"
#include "widgets/Background.h"
#include "widgets/FlatButton.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>

#include <algorithm>
#include <unordered_set>

namespace {

const char* const kPageNames[] = {"Allgemeines", "Karte", "Kategorien", "Fragen"};
constexpr int kCategoryPanelWidth = 200;
const char* const kKindLetters[] = {"C", "L", "F", "I", "S", "T"};

QLabel* pageLabel(const QString& key, QWidget* page, int top, QWidget* buddy)
{
    auto* label = new QLabel(MainDictionary().GetText(key), page);
    label->setObjectName(key);
    label->move(20, top);
    label->adjustSize();
    label->setBuddy(buddy);
    return label;
}

void onKey(QWidget* widget, const QKeySequence& keys, std::function<void()> action)
{
    auto* shortcut = new QShortcut(keys, widget, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, widget, std::move(action));
}

} // namespace

TGeoEditor::TGeoEditor(QWidget* page, bool copy, const QString& lessonArgument, std::unique_ptr<TLernOptionen> options,
                       const QString& programFolder, QAbstractButton* saveButton)
    : TGeo(page, lessonArgument, std::move(options), programFolder), m_saveButton(saveButton)
{
    setObjectName(QStringLiteral("TGeoEditor"));
    // Loading creates the capitals, so that they can be edited too.
    if (!Options) {
        Lesson->LearnOptions = std::make_unique<TLernOptionen>();
        Options = Lesson->LearnOptions.get();
    }
    Options->Hauptstaedte = true;

    // The pages; only the editor toolbar switches them.
    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    for (int i = 0; i < 4; ++i) {
        auto* pageWidget = new QWidget;
        pageWidget->setObjectName(QString::fromLatin1(kPageNames[i]));
        FillBackground(pageWidget);
        if (i > 0) {
            m_pageRows[i] = new QHBoxLayout(pageWidget);
            m_pageRows[i]->setContentsMargins(0, 0, 0, 0);
            m_pageRows[i]->setSpacing(0);
        }
        Pages->addWidget(pageWidget);
    }
    Row()->addWidget(Pages, 1);

    // The question editor on the last page.
    auto* questions = new TGeoInputEditor(Pages->widget(3), *Lesson);
    InputPanel = questions;
    m_pageRows[3]->addWidget(questions);
    questions->OnItemSelected = [this](TGeoItem* item) { ShowItemOnMap(item); };

    // The map and the lesson.
    const bool isNew = lessonArgument == u"image" || lessonArgument == u"globe";
    if (!isNew) {
        if (!OpenLessonFile(lessonArgument))
            return; // told already; the creator lets the view go
        m_sourcePath = lessonArgument;
        m_picture = dynamic_cast<TGeoVisualImage*>(MapView) != nullptr;
        const bool standard = ReadSourceFile(lessonArgument);
        if (copy) {
            Lesson->Name = QStringLiteral("Kopie von ") + Lesson->Name;
            Lesson->NameEnglish = QStringLiteral("Copy of ") + Lesson->NameEnglish;
        }
        // A copy is a new lesson without a file; so is whatever is saved of
        // a standard lesson, which itself is never written.
        if (copy || standard) {
            LessonPath.clear();
            m_sharedPicture = m_picture;
        }
    } else {
        m_picture = lessonArgument == u"image";
        MapView = CreateMap(lessonArgument);
        if (m_picture)
            questions->Numbered = true;
        MapView->OnItemClick = [this](TGeoItem& item) { RouteMapClick(item); };
    }
    m_opened = true;

    // What the question editor and the map report.
    questions->Map = MapView;
    questions->OnModified = [this](QObject*) { SetModified(true); };
    questions->OnCategoriesChanged = [this](QObject*) { RefreshCategories(); };
    questions->OnItemsRemoved = [this] { ForgetRemovedItems(); };
    MapView->OnModified = [this](QObject*, TGeoItem* added) {
        // A change of the globe that adds nothing is one of its view.
        if (!added && !m_picture)
            m_viewChanged = true;
        SetModified(true);
    };
    m_itemPanel = dynamic_cast<TGeoObjEdit*>(MapView->CreateItemEditPanel());
    questions->SetItemEditPanel(m_itemPanel);
    if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(MapView))
        globe->Globe->installEventFilter(this);

    BuildGeneralPage();
    BuildCategoryPage();

    // The map's tools on the map page, the map hidden until a page that
    // shows it.
    MapView->hide();
    ToolPanel = MapView->CreateToolPanel();
    ToolPanel->setParent(Pages->widget(1));
    m_pageRows[1]->addWidget(ToolPanel);
    m_pageRows[1]->addWidget(MapView, 1);

    auto* save = new QShortcut(QKeySequence::Save, this, nullptr, nullptr, Qt::WindowShortcut);
    connect(save, &QShortcut::activated, this, [this] { Save(); });

    Begin();
    // A copy exists only here until it is saved: it can be saved as it is,
    // and closing it asks.
    if (copy)
        SetModified(true);
    NoteMapMadeCategories();
    if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(MapView); globe && !isNew)
        m_savedView = GlobeViewKeys();
}

TGeoEditor::~TGeoEditor()
{
    if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(MapView))
        globe->Globe->removeEventFilter(this);
}

TGeoInputEditor* TGeoEditor::QuestionEditor() const { return static_cast<TGeoInputEditor*>(InputPanel); }

TGeoVisual* TGeoEditor::CreateMap(const QString& lessonType)
{
    // A copied standard picture lesson ("iimage") is a picture lesson too.
    if (LessonFile::IsPictureType(lessonType))
        return new TGeoVisualImageEditor(this, ProgramFolder, *Lesson);
    return new TGeoVisualGlobeEditor(this, ProgramFolder, *Lesson);
}

bool TGeoEditor::ReadSourceFile(const QString& path)
{
    const std::unique_ptr<IniFile> file = IniFile::OpenLimited(path, LessonFile::kMaxFileBytes);
    if (m_picture) {
        m_background = file->ReadString(QStringLiteral("Allgemeines"), QStringLiteral("Background"));
        m_countryCapitals = file->ReadBool(QStringLiteral("Allgemeines"), QStringLiteral("LHDatei"), false);
        m_fileCategories = static_cast<int>(ReadSectionPairs(*file, QStringLiteral("Kategorien")).size());
    } else {
        m_fileSections = LessonFile::GlobeCategorySections(*file);
        m_fileCategories = static_cast<int>(m_fileSections.size());
    }
    return LessonFile::IsStandardLesson(*file);
}

void TGeoEditor::NoteMapMadeCategories()
{
    const auto& categories = Lesson->Categories;
    if (m_picture) {
        // The capitals' category the picture map appends as the second one.
        if (m_fileCategories > 0 && static_cast<int>(categories.size()) == m_fileCategories + 1)
            m_mapMade.insert(categories[1].get());
        return;
    }
    // Globe categories come in file order; the map appends those of the
    // capitals and parts it makes.
    for (std::size_t i = 0; i < categories.size(); ++i) {
        if (static_cast<int>(i) < m_fileSections.size())
            m_sections.insert(categories[i].get(), m_fileSections[static_cast<qsizetype>(i)]);
        else
            m_mapMade.insert(categories[i].get());
    }
}

void TGeoEditor::BuildGeneralPage()
{
    QWidget* page = Pages->widget(0);
    NameGermanEdit = EditorStyle::FlatEdit(QStringLiteral("NameGermanEdit"), page);
    NameGermanEdit->setGeometry(20, 45, 400, 21);
    NameGermanEdit->setText(Lesson->Name);
    pageLabel(QStringLiteral("NameDeutsch"), page, 30, NameGermanEdit);
    NameEnglishEdit = EditorStyle::FlatEdit(QStringLiteral("NameEnglishEdit"), page);
    NameEnglishEdit->setGeometry(20, 95, 400, 21);
    NameEnglishEdit->setText(Lesson->NameEnglish);
    pageLabel(QStringLiteral("NameEnglisch"), page, 80, NameEnglishEdit);

    ContinentBox = new QComboBox(page);
    ContinentBox->setObjectName(QStringLiteral("ContinentBox"));
    for (const char* key : {"NorthAmerica", "SouthAmerica", "Europe", "Asia", "Africa", "Misc"})
        ContinentBox->addItem(MainDictionary().GetText(QString::fromLatin1(key)));
    QPalette pal = ContinentBox->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Button, Qt::white);
    ContinentBox->setPalette(pal);
    ContinentBox->move(20, 145);
    ContinentBox->resize(std::max(200, ContinentBox->sizeHint().width()), ContinentBox->sizeHint().height() + 2);
    ContinentBox->setCurrentIndex(m_sourcePath.isEmpty() ? -1 : Lesson->Continent - 1);
    pageLabel(QStringLiteral("Kategorie"), page, 130, ContinentBox);

    // Loading may have let the view show itself already: children added to
    // a visible page show only when told.
    for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->show();

    connect(NameGermanEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        Lesson->Name = text;
        SetModified(true);
    });
    connect(NameEnglishEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        Lesson->NameEnglish = text;
        SetModified(true);
    });
    connect(ContinentBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Lesson->Continent = index + 1;
        SetModified(true);
    });
}

void TGeoEditor::BuildCategoryPage()
{
    auto* panel = new QWidget(Pages->widget(2));
    panel->setObjectName(QStringLiteral("CategoryPanel"));
    panel->setFixedWidth(kCategoryPanelWidth);
    FillBackground(panel);
    m_pageRows[2]->addWidget(panel);
    panel->show();

    const int width = kCategoryPanelWidth - 15;
    CategoryList = new QListWidget(panel);
    CategoryList->setObjectName(QStringLiteral("CategoryList"));
    CategoryList->setGeometry(5, 10, width, 200);
    EditorStyle::PlainList(CategoryList);
    CategoryList->setItemDelegate(new CategoryDelegate(*Lesson, CategoryList));
    connect(CategoryList, &QListWidget::itemDoubleClicked, this, [this] { EditCategory(); });
    onKey(CategoryList, QKeySequence(Qt::Key_Return), [this] { EditCategory(); });
    onKey(CategoryList, QKeySequence(Qt::Key_Enter), [this] { EditCategory(); });
    onKey(CategoryList, QKeySequence(Qt::Key_Delete), [this] { DeleteCategory(); });

    const TLangDictionary& dictionary = MainDictionary();
    const auto button = [&](const char* key, int glyph, int top) {
        FlatButton* b = EditorStyle::Button(QString::fromLatin1(key), EditorStyle::GeoImage(glyph), panel, 5, top,
                                            width, 25);
        b->setText(dictionary.GetText(QString::fromLatin1(key)));
        return b;
    };
    NewCategoryButton = button("Kategorie_New", 0, 250);
    EditCategoryButton = button("Kategorie_Edit", 1, 280);
    DeleteCategoryButton = button("Kategorie_Delete", 2, 310);
    connect(EditCategoryButton, &QToolButton::clicked, this, [this] { EditCategory(); });
    connect(DeleteCategoryButton, &QToolButton::clicked, this, [this] { DeleteCategory(); });
    if (m_picture) {
        connect(NewCategoryButton, &QToolButton::clicked, this, [this] { NewCategory(); });
    } else {
        // A globe category is one kind of the geographic index, at most one
        // of each: the button offers the kinds the lesson lacks.
        m_kindMenu = new QMenu(NewCategoryButton);
        m_kindMenu->setObjectName(QStringLiteral("KindMenu"));
        for (const char* letter : kKindLetters) {
            QAction* action = m_kindMenu->addAction(dictionary.GetText(QString::fromLatin1(letter)));
            action->setData(QString::fromLatin1(letter));
            connect(action, &QAction::triggered, this, [this, letter] { NewCategory(QString::fromLatin1(letter)); });
        }
        connect(m_kindMenu, &QMenu::aboutToShow, this, [this] { UpdateKindMenu(); });
        NewCategoryButton->setMenu(m_kindMenu);
        NewCategoryButton->setPopupMode(QToolButton::InstantPopup);
    }
}

void TGeoEditor::UpdateKindMenu()
{
    if (!m_kindMenu)
        return;
    bool any = false;
    for (QAction* action : m_kindMenu->actions()) {
        const bool missing = !Lesson->FindCategory(action->data().toString());
        action->setEnabled(missing);
        any = any || missing;
    }
    NewCategoryButton->setEnabled(any);
}

void TGeoEditor::Begin()
{
    TGeo::Begin();
    RefreshCategories();
    SetModified(false);
}

void TGeoEditor::SetModified(bool modified)
{
    Modified = modified;
    if (m_saveButton)
        m_saveButton->setEnabled(modified);
}

void TGeoEditor::RefreshCategories()
{
    const int selected = CategoryList->currentRow();
    {
        const QSignalBlocker block(CategoryList);
        CategoryList->clear();
        for (const auto& category : Lesson->Categories)
            CategoryList->addItem(category->DisplayName());
        if (selected >= 0 && selected < CategoryList->count())
            CategoryList->setCurrentRow(selected);
    }
    UpdateKindMenu();
    if (InputPanel)
        InputPanel->Refresh();
}

TKategorie* TGeoEditor::SelectedCategory() const
{
    const int row = CategoryList->currentRow();
    if (row < 0 || row >= static_cast<int>(Lesson->Categories.size()))
        return nullptr;
    return Lesson->Categories[static_cast<std::size_t>(row)].get();
}

TFormKatEdit& TGeoEditor::CategoryDialog()
{
    if (!m_categoryDialog) {
        if (m_picture)
            m_categoryDialog = std::make_unique<TFormKatEdit>(MainDictionary(), window());
        else
            m_categoryDialog = std::make_unique<TFormKatEditGlobe>(MainDictionary(), window());
    }
    return *m_categoryDialog;
}

void TGeoEditor::NewCategory()
{
    auto category = std::make_unique<TKategorie>();
    category->Name = QStringLiteral("Neue Kategorie"); // the same in every language
    if (!CategoryDialog().Edit(*category))
        return;
    Lesson->Categories.push_back(std::move(category));
    RefreshCategories();
    CategoryList->setCurrentRow(CategoryList->count() - 1);
    SetModified(true);
}

void TGeoEditor::NewCategory(const QString& kindLetter)
{
    if (m_picture || Lesson->FindCategory(kindLetter))
        return;
    auto category = std::make_unique<TKategorie>();
    category->SetKind(kindLetter);
    if (category->Kind == CategoryKind::None || !CategoryDialog().Edit(*category))
        return;
    // The globe side only once the category joins the lesson: a cancelled
    // one leaves no layer behind.
    if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(MapView))
        globe->Link().CreatePresenters(*category);
    Lesson->Categories.push_back(std::move(category));
    RefreshCategories();
    CategoryList->setCurrentRow(CategoryList->count() - 1);
    SetModified(true);
}

void TGeoEditor::EditCategory()
{
    TKategorie* category = SelectedCategory();
    if (!category || !CategoryDialog().Edit(*category))
        return;
    RefreshCategories();
    SetModified(true);
}

void TGeoEditor::DeleteCategory()
{
    TKategorie* category = SelectedCategory();
    if (!category)
        return;
    const TLangDictionary& dictionary = MainDictionary();
    if (MessageDlg(dictionary, FormatText(dictionary.GetText(QStringLiteral("format_delkat")), {category->DisplayName()}),
                   MsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    // A question open for editing may belong to it.
    if (m_itemPanel && m_itemPanel->Editing())
        m_itemPanel->Cancel();
    InputPanel->SelectItem(nullptr);
    InputPanel->CurrentItem = nullptr;
    if (Lesson->RemoveCategory(category)) {
        m_sections.remove(category);
        m_mapMade.remove(category);
    }
    ForgetRemovedItems();
    RefreshCategories();
    SetModified(true);
}

void TGeoEditor::ForgetRemovedItems()
{
    std::unordered_set<const void*> live;
    for (const auto& category : Lesson->Categories)
        for (const auto& item : category->Items)
            live.insert(item.get());
    if (MapView && MapView->HighlightedItem && !live.count(MapView->HighlightedItem))
        MapView->HighlightedItem = nullptr;
    if (InputPanel && InputPanel->CurrentItem && !live.count(InputPanel->CurrentItem))
        InputPanel->CurrentItem = nullptr;
    // A removed item's object stays on the globe, hidden; a click on it must
    // not reach the released item.
    if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(MapView)) {
        TGlobeLayerStore& layers = globe->Globe->GlobeLayers();
        for (int l = 0; l < layers.Count(); ++l) {
            TGlobeObjectSource* objects = layers.GetLayer(l) ? layers.GetLayer(l)->Objects() : nullptr;
            for (int i = 0; objects && i < objects->Count(); ++i)
                if (TGlobeObject* object = objects->GetObject(i); object->UserObject() && !live.count(object->UserObject()))
                    object->SetUserObject(nullptr);
        }
    }
}

void TGeoEditor::ShowPage(int page)
{
    if (page < 0 || page > 3)
        return;
    Pages->setCurrentIndex(page);
    if (page > 0 && MapView->parentWidget() != Pages->widget(page))
        m_pageRows[page]->addWidget(MapView, 1); // beside the page's panel
    MapView->show();
    MapView->EditorPageChanged(page);
}

// ------------------------------------------------------------------ saving

QString TGeoEditor::LessonFolder() const
{
    if (Options && Options->Options && !Options->Options->LessonFolder.isEmpty())
        return Options->Options->LessonFolder;
    return ProgramFolder + QStringLiteral("Lektionen/");
}

TLessonFileExtras TGeoEditor::FileExtras()
{
    TLessonFileExtras extras;
    extras.PictureLesson = m_picture;
    if (auto* image = dynamic_cast<TGeoVisualImage*>(MapView))
        extras.Bitmap = image->PictureFile;
    extras.Background = m_background;
    extras.CountryCapitals = m_countryCapitals;
    if (auto* globe = dynamic_cast<TGeoVisualGlobe*>(MapView)) {
        extras.AllowMoving = globe->AllowMoving;
        extras.AllowZooming = globe->AllowZooming;
        extras.GlobeView = m_viewChanged || m_savedView.empty() ? GlobeViewKeys() : m_savedView;
    }
    extras.Sections = m_sections;
    extras.MapMade = m_mapMade;
    return extras;
}

void TGeoEditor::Save() { SaveLesson(); }

bool TGeoEditor::SaveLesson()
{
    // A question open for editing is part of what the author saves.
    if (m_itemPanel && m_itemPanel->Editing())
        m_itemPanel->Ok();
    TLessonFileExtras extras = FileExtras();
    QString path = LessonPath;
    auto* image = dynamic_cast<TGeoVisualImageEditor*>(MapView);
    const bool pictureReplaced = image && image->PictureReplaced;
    QString createdPicture;
    try {
        if (path.isEmpty()) {
            const QString folder = LessonFolder();
            QDir().mkpath(folder);
            path = UniqueFilePath(folder, ReadableFileStem(!Lesson->Name.trimmed().isEmpty() ? Lesson->Name
                                                                                               : Lesson->NameEnglish),
                                  QStringLiteral(".lek"));
        }
        createdPicture = SavePicture(path, extras);
        writeFileAtomically(path, LessonFileText(*Lesson, extras));
    } catch (const OrbiloError& error) {
        if (!createdPicture.isEmpty())
            QFile::remove(createdPicture);
        if (image)
            image->PictureReplaced = pictureReplaced;
        MessageDlg(MainDictionary(), error.message(), MsgDlgType::mtError, mbOK);
        return false;
    }
    if (image)
        image->PictureFile = extras.Bitmap;
    LessonPath = path;
    m_sharedPicture = false;
    m_savedView = extras.GlobeView;
    m_viewChanged = false;
    SetModified(false);
    return true;
}

QString TGeoEditor::SavePicture(const QString& lessonPath, TLessonFileExtras& extras)
{
    auto* image = dynamic_cast<TGeoVisualImageEditor*>(MapView);
    if (!image)
        return {};
    // Deleting a lesson deletes its picture: a copy must not share the
    // picture of the lesson it came from.
    const QString shared = m_sharedPicture && !extras.Bitmap.isEmpty()
                               ? ProgramFolder + QStringLiteral("Lektionen/") + extras.Bitmap
                               : QString();
    return image->SaveBesideLesson(lessonPath, extras.Bitmap, shared);
}

bool TGeoEditor::Close()
{
    m_closeRefused = false;
    if (Modified || (m_itemPanel && m_itemPanel->Editing())) {
        const TLangDictionary& dictionary = MainDictionary();
        const int answer = MessageDlg(dictionary, dictionary.GetText(QStringLiteral("lek_modified")),
                                      MsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
        if (answer == mrNo) {
            // Discarded.
        } else if (answer != mrYes || !SaveLesson()) {
            m_closeRefused = true;
            return false;
        }
    }
    return TGeo::Close();
}

// --------------------------------------------------------------- the view

std::vector<std::pair<QString, QString>> TGeoEditor::GlobeViewKeys()
{
    auto* map = dynamic_cast<TGeoVisualGlobeEditor*>(MapView);
    return map ? map->LessonViewKeys() : std::vector<std::pair<QString, QString>>{};
}

QString TGeoEditor::ViewSignature()
{
    auto* map = dynamic_cast<TGeoVisualGlobeEditor*>(MapView);
    return map ? map->ViewSignature() : QString();
}

void TGeoEditor::CheckViewChanged()
{
    if (!m_viewBefore.isEmpty() && ViewSignature() != m_viewBefore) {
        // The author turned or zoomed the globe: the lesson keeps this view.
        m_viewChanged = true;
        SetModified(true);
    }
    m_viewBefore.clear();
}

bool TGeoEditor::eventFilter(QObject* watched, QEvent* event)
{
    auto* map = dynamic_cast<TGeoVisualGlobe*>(MapView);
    if (map && watched == map->Globe) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_viewBefore = ViewSignature();
            break;
        case QEvent::MouseButtonRelease:
            CheckViewChanged();
            break;
        case QEvent::Wheel:
        case QEvent::KeyPress:
            // The globe turns or zooms while it handles these; look after.
            m_viewBefore = ViewSignature();
            QTimer::singleShot(0, this, [this] { CheckViewChanged(); });
            break;
        default:
            break;
        }
    }
    return TGeo::eventFilter(watched, event);
}
