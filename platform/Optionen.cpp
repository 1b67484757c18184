#include "platform/Optionen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
TOptionen* g_instance = nullptr;
const QString kGeo = QStringLiteral("Geo");
const QString kUsers = QStringLiteral("Users");
const QString kBewertung = QStringLiteral("Bewertung");
} // namespace

TOptionen::TOptionen(const QString& programFolder, std::unique_ptr<IniFile> iniFile)
    : ProgramFolder(programFolder), m_iniFile(std::move(iniFile))
{
    LessonFolder = ProgramFolder + QStringLiteral("Lektionen/");
    g_instance = this;
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
    for (const auto& [number, name] : m_iniFile->ReadSectionEntries(kUsers))
        entries << name + u'|' + number;
    return entries;
}

void TOptionen::SaveUserList(const QStringList& entries)
{
    m_iniFile->EraseSection(kUsers);
    for (const QString& entry : entries)
        m_iniFile->WriteString(kUsers, EntryNumber(entry), EntryName(entry));
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
    if (!folder.exists())
        return;
    const QStringList files = folder.entryList(QStringList{QStringLiteral("*.dat")}, QDir::Files,
                                               QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        const QString number = QFileInfo(file).completeBaseName();
        if (!m_iniFile->ValueExists(kUsers, number))
            QFile::remove(folder.filePath(file));
    }
}
