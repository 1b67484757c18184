#pragma once

#include "platform/ProgramFolders.h"

#include "i18n/LangDictionary.h"
#include "platform/Optionen.h"

#include <QHash>
#include <functional>
#include <QWidget>
#include <memory>
#include <vector>

class EntryListBox;
class FlatButton;
class GradientPanel;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;

class LessonListBox;
class PressablePicture;
class TGeo;
class TLektionenList;
struct TLernOptionen;

// The windows and views that later parts of the program plug into the
// lesson start: the learning settings dialog and the two kinds of view.
struct LessonStartHooks {
    // Shows the learning settings dialog for a lesson (memory offered or
    // not) and fills the options; false when it was not confirmed.
    std::function<bool(TLernOptionen& options, bool memoryOffered, int language)> LearningSettings;
    std::function<TGeo*(QWidget* page, const QString& path, std::unique_ptr<TLernOptionen> options)> CreateLearningView;
    std::function<TGeo*(QWidget* page, bool copy, const QString& lessonArgument, std::unique_ptr<TLernOptionen> options)>
        CreateEditorView;
};

// The program's one main window: five pages, seven toolbars, the options and
// info pages, and the home of the settings, the catalogue and the lesson view.
class Tfrm_main : public QWidget {
public:
    // A portable program: everything in `programFolder` (ending with "/").
    explicit Tfrm_main(const QString& programFolder);
    // The shipped files and the user's files where `folders` say.
    explicit Tfrm_main(const ProgramFolders& folders);
    ~Tfrm_main() override;

    TLangDictionary lang;
    TOptionen& Optionen() { return *m_options; }

    bool EditorMode = false;
    bool ExportMode = false;

    void ShowToolbar(GradientPanel* toolbar);
    void ArrangePages();
    void ShowPage(const QString& name);
    // The catalogue page with the toolbar and group controls of the mode.
    void ShowCatalogue(bool editor);
    QString CurrentPage() const;
    GradientPanel* Toolbar(const QString& name) const;
    GradientPanel* VisibleToolbar() const { return m_visibleToolbar; }
    FlatButton* Button(const QString& name) const;

    // The open lesson view; ReturnToCatalogue forgets it.
    void SetLessonView(TGeo* view) { m_view = view; }
    TGeo* LessonView() const { return m_view; }
    void ReturnToCatalogue();
    QWidget* LessonPage() const;

    static inline LessonStartHooks StartHooks;
    // Start or edit the selected lesson; `newChoice` 1..3 is the new-lesson
    // case (picture, globe, copy), 0 otherwise.
    void StartOrEdit(int newChoice = 0);
    // The checks and the learning settings before a lesson opens; nothing
    // when the lesson must not or shall not open.
    std::unique_ptr<TLernOptionen> OpenLesson(const QString& path, bool isNew);
    // The learning offers the memory game for this lesson file.
    static bool MemoryOffered(const IniFile& lessonFile);
    int NewLessonDialog();
    void DeleteLesson();
    TLektionenList& Lektionen() { return *m_catalogue; }
    void ChooseContinent(PressablePicture& picture);

    // Controls used by other windows and by tests.
    EntryListBox* Sprachwahl() const { return m_languages; }
    EntryListBox* Benutzer() const { return m_users; }
    QCheckBox* cb_spelling() const { return m_spelling; }
    QCheckBox* ShowFlagAbfrage() const { return m_showFlags; }
    QPushButton* User_New() const { return m_userNew; }
    QPushButton* User_Delete() const { return m_userDelete; }
    QPushButton* User_Rename() const { return m_userRename; }
    QPushButton* btn_InfoOk() const { return m_infoOk; }
    QStackedWidget* nb_optionen() const { return m_optionPages; }
    LessonListBox* lektionen() const { return m_lessonList; }
    QComboBox* Kat() const { return m_categories; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildToolbars();
    GradientPanel* addToolbar(const QString& name, const std::vector<std::pair<QString, QString>>& buttons);
    void buildStartPage();
    void buildCataloguePage();
    void buildOptionsPage();
    void buildInfoPage();
    void connectActions();
    void runStartUp();
    void applyWindowPlacement();
    void langChangeLanguage();
    void ShowLearnerInTitle();
    void UpdateUserButtons();

    void Btn_Haupt_LernenClick();
    void Btn_Haupt_EditorClick();
    void btn_Haupt_ConfigClick();
    void btn_Config_ZurueckClick();
    void Btn_Haupt_InfoClick();
    void btn_InfoOkClick();
    void btn_Export_ZurueckClick();
    void BackToStart();
    void User_NewClick();
    void User_DeleteClick();
    void User_RenameClick();
    void CloseLessonView();

    std::unique_ptr<TOptionen> m_options;
    std::vector<GradientPanel*> m_toolbars;
    GradientPanel* m_visibleToolbar = nullptr;
    QHash<QString, FlatButton*> m_buttons;
    QButtonGroup* m_editorPages = nullptr;
    QButtonGroup* m_configPages = nullptr;
    QStackedWidget* m_pages = nullptr;
    TGeo* m_view = nullptr;
    std::unique_ptr<TLektionenList> m_catalogue;

    QWidget* m_startPanel = nullptr;
    QLabel* m_startLogoText = nullptr;
    QWidget* m_infoPanel = nullptr;
    QLabel* m_infoLogoText = nullptr;
    QPushButton* m_infoOk = nullptr;

    QWidget* m_cataloguePanel = nullptr;
    QWidget* m_listPanel = nullptr;
    LessonListBox* m_lessonList = nullptr;
    std::vector<PressablePicture*> m_continents;
    QComboBox* m_categories = nullptr;
    QLabel* m_categoriesLabel = nullptr;
    QWidget* m_continentRow = nullptr;
    QLabel* m_groupLabel = nullptr;

    QStackedWidget* m_optionPages = nullptr;
    EntryListBox* m_languages = nullptr;
    EntryListBox* m_users = nullptr;
    QCheckBox* m_spelling = nullptr;
    QCheckBox* m_showFlags = nullptr;
    QPushButton* m_userNew = nullptr;
    QPushButton* m_userDelete = nullptr;
    QPushButton* m_userRename = nullptr;
};
