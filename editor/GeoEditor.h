#pragma once

#include "editor/LessonWriter.h"
#include "learning/Geo.h"

#include <QPointer>
#include <memory>

class FlatButton;
class QAbstractButton;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QMenu;
class QStackedWidget;
class TFormKatEdit;
class TGeoInputEditor;
class TGeoObjEdit;
class TKategorie;

// The lesson editor: a lesson view with four pages, switched only by the
// editor toolbar: the lesson's names and continent ("Allgemeines"), the
// map's tools ("Karte"), the categories ("Kategorien") and the questions
// ("Fragen"). It opens an existing lesson, a copy of one, or a new picture
// or globe lesson, and saves it back into the lesson folder.
class TGeoEditor : public TGeo {
public:
    // `lessonArgument` is "image" or "globe" for a new lesson of that kind,
    // otherwise the path of a lesson file; `copy` makes the opened lesson a
    // new one ("Kopie von ..."). The save button is enabled exactly while
    // the lesson holds unsaved changes.
    TGeoEditor(QWidget* page, bool copy, const QString& lessonArgument, std::unique_ptr<TLernOptionen> options,
               const QString& programFolder, QAbstractButton* saveButton = nullptr);
    ~TGeoEditor() override;

    // False when the lesson file was missing; the view then has nothing to show.
    bool Opened() const { return m_opened; }

    QStackedWidget* Pages = nullptr;
    QLineEdit* NameGermanEdit = nullptr;
    QLineEdit* NameEnglishEdit = nullptr;
    QComboBox* ContinentBox = nullptr;
    QWidget* ToolPanel = nullptr;
    QListWidget* CategoryList = nullptr;
    FlatButton* NewCategoryButton = nullptr;
    FlatButton* EditCategoryButton = nullptr;
    FlatButton* DeleteCategoryButton = nullptr;
    bool Modified = false;

    TGeoInputEditor* QuestionEditor() const;
    TGeoObjEdit* ItemEditPanel() const { return m_itemPanel; }
    bool IsPictureLesson() const { return m_picture; }

    void Begin() override;
    // Asks whether to save a changed lesson: Yes saves (and stays open when
    // that fails), No discards, Cancel stays. Then the view is released.
    bool Close() override;
    bool CloseRefused() const override { return m_closeRefused; }
    void ShowPage(int page) override;
    TGeoVisual* CreateMap(const QString& lessonType) override;
    void Save() override;
    // Writes the lesson file; a new lesson or a copy gets a file name of
    // its own in the lesson folder first. A failed write is shown and the
    // lesson stays changed; the result says whether the file was written.
    bool SaveLesson();
    // Writes the picture of a picture lesson beside the lesson file when it
    // was replaced, or copies a shared one; sets the name the lesson keeps.
    // Returns the file it created (not one it wrote over).
    QString SavePicture(const QString& lessonPath, TLessonFileExtras& extras);

    void SetModified(bool modified);
    void RefreshCategories();
    TKategorie* SelectedCategory() const;

    // A picture lesson's new category, named "Neue Kategorie".
    void NewCategory();
    // A globe lesson's new category of a kind the lesson lacks ("L", "C" ...).
    void NewCategory(const QString& kindLetter);
    void EditCategory();
    void DeleteCategory();
    // The kinds a globe lesson can add, offered by the new-category button.
    QMenu* KindMenu() const { return m_kindMenu; }
    TFormKatEdit& CategoryDialog();

    // What the lesson file holds besides the lesson tree.
    TLessonFileExtras FileExtras();
    QString LessonFolder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGeneralPage();
    void BuildCategoryPage();
    // Reads what the editor carries over; true for a standard lesson.
    bool ReadSourceFile(const QString& path);
    void NoteMapMadeCategories();
    void ForgetRemovedItems();
    void UpdateKindMenu();
    // The globe's view as the [Globe] keys of a lesson file: as they apply
    // to the 300 x 300 globe on which a lesson's view is set.
    std::vector<std::pair<QString, QString>> GlobeViewKeys();
    QString ViewSignature();
    void CheckViewChanged();

    QHBoxLayout* m_pageRows[4] = {};
    TGeoObjEdit* m_itemPanel = nullptr;
    std::unique_ptr<TFormKatEdit> m_categoryDialog;
    QMenu* m_kindMenu = nullptr;
    QPointer<QAbstractButton> m_saveButton;
    bool m_picture = false;
    bool m_opened = false;
    bool m_closeRefused = false;
    // The file the lesson was read from (a copy's too), and what the editor
    // carries over from it unchanged.
    QString m_sourcePath;
    int m_fileCategories = 0;
    QStringList m_fileSections;
    QString m_background;
    bool m_countryCapitals = false;
    QHash<const TKategorie*, QString> m_sections;
    QSet<const TKategorie*> m_mapMade;
    // A copy shares its picture file with the lesson it came from until
    // its first save gives it one of its own.
    bool m_sharedPicture = false;
    // The globe's view as it was read or last saved, and whether the author
    // has turned or zoomed the globe since.
    std::vector<std::pair<QString, QString>> m_savedView;
    bool m_viewChanged = false;
    QString m_viewBefore;
};
