#pragma once

#include "platform/IniFile.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

// The program settings in memory, with geo.ini open for the whole run.
// One instance, made by the main window; TOptionen::instance() reaches it.
class TOptionen {
public:
    struct WindowPlacement {
        int width = 680;
        int height = 550;
        bool maximized = false;
    };

    // `programFolder` ends with a folder separator (an empty folder stays empty).
    // It holds geo.ini, Ergebnisse/ and the user's lessons; `shippedFolder`
    // (the same when empty) what ships: Data/, geo.hlp, the standard lessons.
    TOptionen(const QString& programFolder, std::unique_ptr<IniFile> iniFile, const QString& shippedFolder = {});
    ~TOptionen();
    TOptionen(const TOptionen&) = delete;
    TOptionen& operator=(const TOptionen&) = delete;

    static TOptionen* instance();

    IniFile& iniFile() { return *m_iniFile; }
    const IniFile& iniFile() const { return *m_iniFile; }

    int UserNumber = 0;
    std::array<int, 6> GradeThresholds{0, 90, 75, 65, 50, 25}; // index 1..5
    QString ProgramFolder;
    QString LessonFolder;        // the user's lessons; new ones are written here
    QString ShippedFolder;       // read only
    QString ShippedLessonFolder; // the standard lessons; the same as LessonFolder in a portable program
    bool ShowFlagAbfrage = true;
    int Language = 1;

    bool Spelling() const { return m_spelling; }
    // Also sets the process-wide switch the answer check reads.
    void SetSpelling(bool ignoreSpellingMistakes);
    static inline std::function<void(bool)> spellingSwitch;

    void LoadSettings();
    void SaveSettings();
    WindowPlacement LoadWindowPlacement() const;
    void SaveWindowPlacement(const WindowPlacement& placement);

    // Entries "name|number" in the order of [Users].
    QStringList FillUserList() const;
    void SaveUserList(const QStringList& entries);
    int UserCount() const;
    void SelectFirstUser();
    int LastUserNumber() const;
    void SetLastUserNumber(int number);
    QString CurrentUserName() const;
    QString ResultFolder() const;
    // The globe data and the flag emblems.
    QString DataFolder() const { return ShippedFolder + QStringLiteral("Data/"); }
    // The folders the catalogue lists, the user's first.
    QStringList LessonFolders() const;
    // A lesson file of the catalogue: the user's own, else a shipped one.
    QString LessonPath(const QString& fileName) const;
    QString ResultFilePath() const;
    bool IsEnglish() const { return Language == 3; }

    // Deletes every result file whose name is no longer a user number.
    void DeleteOrphanResultFiles() const;

    // The parts of a list entry "name|number".
    static QString EntryName(const QString& entry);
    static QString EntryNumber(const QString& entry);

private:
    std::unique_ptr<IniFile> m_iniFile;
    mutable QSet<QString> m_usersShown; // user numbers of the last FillUserList, folded
    bool m_spelling = true;
};
