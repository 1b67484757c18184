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
// The file is read once when the object is made (a missing file reads as
// empty); the object is the file's only writer while it lives.
class IniFile {
public:
    static constexpr int kMaxValueLength = 2047;
    static constexpr int kMaxListBytes = 16384;

    explicit IniFile(QString path);

    // Opens a file that may not exceed `maxBytes` (lesson files and the like
    // that a user may have been handed): a larger one raises OrbiloError
    // naming it, before anything is read.
    static std::unique_ptr<IniFile> OpenLimited(const QString& path, qint64 maxBytes);

    const QString& fileName() const { return m_path; }

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

    void parse();
    void save(const QStringList& lines);
    const Section* findSection(const QString& name) const;
    QString rawValue(const Section& section, const QString& key, bool* found) const;
    static QString cleanValue(const QString& raw);

    QString m_path;
    QStringList m_lines;
    QString m_lineBreak = QStringLiteral("\n");
    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // folded name -> index into m_sections
};
