#pragma once

// A dBASE table read record by record: the attributes of a shapefile.

#include "globe/GlobeSysUtils.h"

#include <QByteArray>
#include <QFile>
#include <vector>

class TGlobeDBFReader {
public:
    // Reads and checks the header; a damaged one raises EGlobeException.
    explicit TGlobeDBFReader(const QString& fileName);

    int RecordCount() const { return m_recordCount; }
    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    // Empty, a blank or 0 for a column that does not exist.
    QString GetFieldName(int column) const;
    QChar GetFieldType(int column) const;
    int GetFieldLength(int column) const;

    void First() { SetID(0); }
    void Next() { SetID(m_record + 1); }
    bool Eof() const { return m_record >= m_recordCount; }
    int RecNo() const { return m_record; }
    // Moves to a record, counted from 0.
    void SetID(int record);
    // The field of the current record without its padding; empty for a
    // column or record that does not exist.
    QString GetString(int column);

    // The text encoding the table declares: its .cpg file, else its
    // language byte; otherwise each text is taken as UTF-8 when it is valid.
    enum Encoding { Unknown, Utf8, Windows1252 };
    Encoding TextEncoding() const { return m_encoding; }

private:
    struct Field {
        QString name;
        char type;
        int offset; // within the record
        int length;
    };
    void ReadHeader();
    void DetectEncoding(uint8_t languageDriver);
    [[noreturn]] void Damaged(const QString& what) const;

    QFile m_file;
    int64_t m_headerLength = 0;
    int64_t m_recordLength = 0;
    int m_recordCount = 0;
    std::vector<Field> m_fields;
    Encoding m_encoding = Unknown;
    int m_record = 0;
    int m_loaded = -1; // record held in m_buffer
    QByteArray m_buffer;
};
