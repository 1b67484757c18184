#pragma once

#include "i18n/LangDictionary.h"
#include "platform/Optionen.h"

#include <QHash>
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

// What the main window asks of an open lesson view (learning or editor).
class LessonViewControl {
public:
    virtual ~LessonViewControl() = default;
    virtual void Close() = 0;           // always agrees; the view releases itself
    virtual void ShowResult() {}
    virtual void Tip() {}
    virtual void Save() {}
    virtual void ShowPage(int /*page*/) {}
};

// The program's one main window: five pages, seven toolbars, the options and
// info pages, and the home of the settings, the catalogue and the lesson view.
class Tfrm_main : public QWidget {
public:
    // `programFolder` ends with a folder separator.
    explicit Tfrm_main(const QString& programFolder);
    ~Tfrm_main() override;

    TLangDictionary lang;
    TOptionen& Optionen() { return *m_options; }

    bool EditorMode = false;
    bool ExportMode = false;

    void ShowToolbar(GradientPanel* toolbar);
    void ArrangePages();
    void ShowPage(const QString& name);
    QString CurrentPage() const;
    GradientPanel* Toolbar(const QString& name) const;
    GradientPanel* VisibleToolbar() const { return m_visibleToolbar; }
    FlatButton* Button(const QString& name) const;

    // The open lesson view registers itself; ReturnToCatalogue forgets it.
    void SetLessonView(LessonViewControl* view) { m_view = view; }
    LessonViewControl* LessonView() const { return m_view; }
    void ReturnToCatalogue();
    QWidget* LessonPage() const;

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
    QListWidget* lektionen() const { return m_lessonList; }
    QComboBox* Kat() const { return m_categories; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

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
    LessonViewControl* m_view = nullptr;

    QWidget* m_startPanel = nullptr;
    QLabel* m_startLogoText = nullptr;
    QWidget* m_infoPanel = nullptr;
    QLabel* m_infoLogoText = nullptr;
    QPushButton* m_infoOk = nullptr;

    QWidget* m_cataloguePanel = nullptr;
    QWidget* m_listPanel = nullptr;
    QListWidget* m_lessonList = nullptr;
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
