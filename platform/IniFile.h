#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

// An INI text file with the semantics the program's files rely on:
// sections and keys match without regard to case, values are trimmed and a
// matching pair of quotes is removed, a key that occurs twice in a section
// shows its first value. Every write reaches the disk at once and atomically,
// keeping every other line, comment and the order of the file.
//
// Every read sees the file as it is on disk now, and every write changes only
// its own line of the file as it is now: another copy of the program, or a
// text editor, may change the file while the object lives. The file is read
// again only when it has changed since the last look (a stat per access).
// A missing file reads as empty; one that is there but cannot be read raises
// FileReadError, so it is never taken for an empty one. Lines may end in LF,
// CRLF or a lone CR.
class IniFile {
public:
    static constexpr int kMaxValueLength = 2047;
    static constexpr int kMaxListBytes = 16384;

    explicit IniFile(QString path, qint64 maxBytes = -1);

    // Opens a file that may not exceed `maxBytes` (lesson files and the like
    // that a user may have been handed): a larger one raises OrbiloError
    // naming it, before anything is read.
    static std::unique_ptr<IniFile> OpenLimited(const QString& path, qint64 maxBytes);

    const QString& fileName() const { return m_path; }
    // Whether the file is there now (and, when it is, could be read).
    bool Exists() const;

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else, or a
    // number outside the integer range, reads as the default.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // Throw FileWriteError naming the file when the file cannot be written;
    // the value in memory is then left as it was.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void EraseSection(const QString& section);
    // Replaces the whole section with these keys and values in one write, so
    // that no moment on disk holds the section half written.
    void ReplaceSection(const QString& section, const std::vector<std::pair<QString, QString>>& entries);
    void DeleteKey(const QString& section, const QString& key);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Key names of a section in file order, and section names in file order,
    // cut at the list limit of the platform's profile functions.
    QStringList ReadSection(const QString& section) const;
    QStringList ReadSections() const;

    // Every key and value of a section in file order, without the list limit;
    // for large read-only files such as the geographic index.
    std::vector<std::pair<QString, QString>> ReadSectionEntries(const QString& section) const;

    // Parses a value the way ReadInteger does; false when it is not a number.
    static bool parseInteger(const QString& text, int& result);

private:
    // What identifies one state of the file on disk.
    struct FileStamp {
        bool exists = false;
        quint64 device = 0, inode = 0;
        qint64 size = 0, modifiedSec = 0, modifiedNsec = 0, changedSec = 0, changedNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct Entry {
        QString key;
        int line;
    };
    struct Section {
        QString name;
        int headerLine;
        int lastLine; // last line that belongs to the section
        std::vector<Entry> entries;
        QHash<QString, int> firstEntryOfKey; // folded key -> index into entries
    };

    FileStamp stampNow() const;
    void refresh() const;
    void load(const FileStamp& stamp) const;
    void parse() const;
    void save(const QStringList& lines);
    QStringList withoutSection(const QString& section, int* firstHeader) const;
    const Section* findSection(const QString& name) const;
    QString rawValue(const Section& section, const QString& key, bool* found) const;
    static QString cleanValue(const QString& raw);

    QString m_path;
    qint64 m_maxBytes = -1; // no limit when negative
    // The file as last seen; refreshed by every access.
    mutable bool m_loaded = false;
    mutable FileStamp m_stamp;
    mutable QStringList m_lines;
    mutable QString m_lineBreak = QStringLiteral("\n");
    mutable std::vector<Section> m_sections;
    mutable QHash<QString, int> m_sectionIndex; // folded name -> index into m_sections
};
