#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class Tfrm_main;

// The lesson exchange of the editor catalogue: the button "Austausch" opens
// the pop-up menu with import and export; export first shows the lessons of
// one's own as a check list (the standard lessons stay at home) and writes
// the checked ones into an exchange file; import reads an exchange file or
// a single lesson file into the lesson folder and shows what came in.
class TAustausch : public QObject {
    Q_OBJECT
public:
    explicit TAustausch(Tfrm_main& mainWindow);

    QMenu* Popup_Export() const { return m_menu; }
    QAction* menu_Import() const { return m_import; }
    QAction* menu_Export() const { return m_export; }
    QLabel* lbl_Export() const { return m_label; }
    QListWidget* lektionen_cb() const { return m_checkList; }

    // btn_LEditor_Austausch: the menu under the button.
    void ShowMenu();
    // menu_Export: the check list of the lessons that can go.
    void StartExportSelection();
    // btn_Export_Export.
    void ExportChecked();
    // menu_Import.
    void Import();

    // File names of the checked lessons, in list order.
    QStringList CheckedLessons() const;

private:
    void leaveExportSelection();
    void showImported(const QStringList& lessonFiles);
    QString reasonText(int problem, const QString& detail) const;

    Tfrm_main& m_main;
    QMenu* m_menu;
    QAction* m_import;
    QAction* m_export;
    QLabel* m_label;
    QListWidget* m_checkList;
    QString m_lastFolder; // where the last exchange file was chosen
};
