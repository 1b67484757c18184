#include "platform/Optionen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {
TOptionen* g_instance = nullptr;
const QString kGeo = QStringLiteral("Geo");
const QString kUsers = QStringLiteral("Users");
const QString kBewertung = QStringLiteral("Bewertung");
} // namespace

TOptionen::TOptionen(const QString& programFolder, std::unique_ptr<IniFile> iniFile, const QString& shippedFolder)
    : ProgramFolder(programFolder), ShippedFolder(shippedFolder.isEmpty() ? programFolder : shippedFolder),
      m_iniFile(std::move(iniFile))
{
    LessonFolder = ProgramFolder + QStringLiteral("Lektionen/");
    ShippedLessonFolder = ShippedFolder + QStringLiteral("Lektionen/");
    g_instance = this;
}

QStringList TOptionen::LessonFolders() const
{
    return LessonFolder == ShippedLessonFolder ? QStringList{LessonFolder} : QStringList{LessonFolder, ShippedLessonFolder};
}

QString TOptionen::LessonPath(const QString& fileName) const
{
    for (const QString& folder : LessonFolders())
        if (QFileInfo::exists(folder + fileName))
            return folder + fileName;
    return LessonFolder + fileName;
}

TOptionen::~TOptionen()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TOptionen* TOptionen::instance() { return g_instance; }

void TOptionen::SetSpelling(bool ignoreSpellingMistakes)
{
    m_spelling = ignoreSpellingMistakes;
    if (spellingSwitch)
        spellingSwitch(ignoreSpellingMistakes);
}

void TOptionen::LoadSettings()
{
    const int language = m_iniFile->ReadInteger(kGeo, QStringLiteral("Language"), 1);
    // The dictionaries know three languages; anything else is a damaged file.
    Language = (language >= 1 && language <= 3) ? language : 1;
    SetSpelling(m_iniFile->ReadBool(kGeo, QStringLiteral("Spelling"), true));
    ShowFlagAbfrage = m_iniFile->ReadBool(kGeo, QStringLiteral("ShowFlagAbfrage"), true);
    static constexpr int defaults[6] = {0, 90, 75, 65, 50, 25};
    for (int grade = 1; grade <= 5; ++grade)
        GradeThresholds[grade] = m_iniFile->ReadInteger(kBewertung, QString::number(grade), defaults[grade]);
}

void TOptionen::SaveSettings()
{
    m_iniFile->WriteInteger(kGeo, QStringLiteral("Language"), Language);
    m_iniFile->WriteBool(kGeo, QStringLiteral("Spelling"), m_spelling);
    m_iniFile->WriteBool(kGeo, QStringLiteral("ShowFlagAbfrage"), ShowFlagAbfrage);
}

TOptionen::WindowPlacement TOptionen::LoadWindowPlacement() const
{
    WindowPlacement placement;
    placement.width = m_iniFile->ReadInteger(kGeo, QStringLiteral("Width"), 680);
    placement.height = m_iniFile->ReadInteger(kGeo, QStringLiteral("Height"), 550);
    placement.maximized = m_iniFile->ReadBool(kGeo, QStringLiteral("Max"), false);
    if (placement.maximized) {
        placement.width = 680;
        placement.height = 550;
    }
    return placement;
}

void TOptionen::SaveWindowPlacement(const WindowPlacement& placement)
{
    m_iniFile->WriteBool(kGeo, QStringLiteral("Max"), placement.maximized);
    m_iniFile->WriteInteger(kGeo, QStringLiteral("Width"), placement.width);
    m_iniFile->WriteInteger(kGeo, QStringLiteral("Height"), placement.height);
}

QString TOptionen::EntryName(const QString& entry) { return entry.section(u'|', 0, -2); }
QString TOptionen::EntryNumber(const QString& entry) { return entry.section(u'|', -1); }

QStringList TOptionen::FillUserList() const
{
    QStringList entries;
    m_usersShown.clear();
    for (const auto& [number, name] : m_iniFile->ReadSectionEntries(kUsers)) {
        entries << name + u'|' + number;
        m_usersShown.insert(number.trimmed().toCaseFolded());
    }
    return entries;
}

void TOptionen::SaveUserList(const QStringList& entries)
{
    std::vector<std::pair<QString, QString>> users;
    QSet<QString> listed;
    for (const QString& entry : entries) {
        users.emplace_back(EntryNumber(entry), EntryName(entry));
        listed.insert(EntryNumber(entry).trimmed().toCaseFolded());
    }
    // A user that another copy of the program added since the list was
    // filled was never shown here, so it was not deleted here either.
    for (const auto& [number, name] : m_iniFile->ReadSectionEntries(kUsers)) {
        const QString folded = number.trimmed().toCaseFolded();
        if (!m_usersShown.contains(folded) && !listed.contains(folded))
            users.emplace_back(number, name);
    }
    m_iniFile->ReplaceSection(kUsers, users);
}

int TOptionen::UserCount() const { return static_cast<int>(m_iniFile->ReadSectionEntries(kUsers).size()); }

void TOptionen::SelectFirstUser()
{
    const auto users = m_iniFile->ReadSectionEntries(kUsers);
    UserNumber = users.empty() ? 0 : users.front().first.toInt();
}

int TOptionen::LastUserNumber() const { return m_iniFile->ReadInteger(kGeo, QStringLiteral("NewUser"), 0); }

void TOptionen::SetLastUserNumber(int number) { m_iniFile->WriteInteger(kGeo, QStringLiteral("NewUser"), number); }

QString TOptionen::CurrentUserName() const { return m_iniFile->ReadString(kUsers, QString::number(UserNumber)); }

QString TOptionen::ResultFolder() const { return ProgramFolder + QStringLiteral("Ergebnisse/"); }

QString TOptionen::ResultFilePath() const { return ResultFolder() + QString::number(UserNumber) + QStringLiteral(".dat"); }

void TOptionen::DeleteOrphanResultFiles() const
{
    const QDir folder(ResultFolder());
    // Only a settings file that is there and was read can say who is gone;
    // a missing or unreadable one says nothing about the users.
    if (!folder.exists() || !m_iniFile->Exists())
        return;
    QSet<QString> users;
    for (const auto& [number, name] : m_iniFile->ReadSectionEntries(kUsers))
        users.insert(number.trimmed().toCaseFolded());
    const QStringList files = folder.entryList(QStringList{QStringLiteral("*.dat")}, QDir::Files,
                                               QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        const QString number = QFileInfo(file).completeBaseName();
        if (!users.contains(number.trimmed().toCaseFolded()))
            QFile::remove(folder.filePath(file));
    }
}
