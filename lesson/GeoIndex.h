#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// The geographic index, a large read-only INI text held in memory. Its rules
// differ from the INI service: a section header is a whole line "[name]"
// (name without regard to case, no blanks around), a section ends at the next
// line that looks like a header once trimmed, keys match exactly, the first
// line of a key wins and an empty value reads as the default.
class TGeoIndex {
public:
    TGeoIndex() = default;
    // A missing or unreadable file gives an empty index.
    explicit TGeoIndex(const QString& path);
    static TGeoIndex fromText(const QString& text, const QString& fileName = {});

    TGeoIndex(TGeoIndex&&) = default;
    TGeoIndex& operator=(TGeoIndex&&) = default;
    TGeoIndex(const TGeoIndex&) = delete;
    TGeoIndex& operator=(const TGeoIndex&) = delete;

    const QString& fileName() const { return m_fileName; }
    bool isEmpty() const { return m_text.isEmpty(); }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Decimal, or hexadecimal after "0x" or "$"; the default otherwise.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    bool SectionExists(const QString& section) const;
    // Every line of the section that has a key, as "key=value", both trimmed.
    QStringList ReadSectionValues(const QString& section) const;
    // The names of all header lines in file order, trimmed.
    QStringList ReadSections() const;

private:
    struct Line {
        qsizetype start;
        qsizetype length;
    };
    struct Section {
        int firstLine; // the line after the header
        int endLine;   // one past the last line
        QHash<QStringView, int> keys; // key -> line of its first occurrence
    };

    void parse();
    QStringView line(int i) const { return QStringView(m_text).mid(m_lines[i].start, m_lines[i].length); }
    const Section* findSection(const QString& name) const;
    static bool splitKeyLine(QStringView line, QStringView& key, QStringView& value);

    QString m_fileName;
    // The views in m_lines and the section key tables point into m_text,
    // which is never changed after parsing.
    QString m_text;
    std::vector<Line> m_lines;
    std::vector<int> m_headerLines; // every line that looks like a header once trimmed
    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // folded name -> index into m_sections
};
