#include "globe/GlobeMIFReader.h"

#include "globe/GlobeMIFStyles.h"
#include "globe/GlobeStream.h"
#include "globe/GlobeXml.h"
#include "platform/AtomicFile.h"
#include "platform/TextCodec.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>

namespace {
constexpr uint16_t kMetaDataMark = 258;
// The shortest line of one point, "0 0" and its line break.
constexpr int64_t kMinPointBytes = 4;

QList<QByteArray> Words(const QByteArray& line)
{
    QList<QByteArray> words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool blank = i == line.size() || line[i] == ' ' || line[i] == '\t';
        if (blank && start >= 0) {
            words.append(line.mid(start, i - start));
            start = -1;
        } else if (!blank && start < 0) {
            start = i;
        }
    }
    return words;
}

enum class Keyword { None, Point, Line, PLine, Region, Text, Other };

Keyword ObjectKeyword(const QByteArray& word)
{
    const QByteArray w = word.toLower();
    if (w == "point") return Keyword::Point;
    if (w == "line") return Keyword::Line;
    if (w == "pline") return Keyword::PLine;
    if (w == "region") return Keyword::Region;
    if (w == "text") return Keyword::Text;
    // Objects the engine does not show: their attribute lines still count.
    if (w == "arc" || w == "ellipse" || w == "rect" || w == "roundrect" || w == "multipoint" || w == "collection"
        || w == "none")
        return Keyword::Other;
    return Keyword::None;
}

double Number(const QByteArray& word)
{
    bool ok = false;
    const double v = word.toDouble(&ok);
    if (!ok)
        throw EGlobeException(QStringLiteral("StrToExtended: Conversion failed for %1").arg(QString::fromLatin1(word)));
    return v;
}

TPointLL ToPoint(double x, double y) { return PointLL(DecimalToGlobeUnits(x), DecimalToGlobeUnits(y)); }

// The words of an object's lines, one after the other across line breaks.
class Tokens {
public:
    Tokens(TTextReader& reader, QList<QByteArray> words, int next)
        : m_reader(reader), m_words(std::move(words)), m_next(next) {}
    bool MoreInLine() const { return m_next < m_words.size(); }
    QByteArray Next()
    {
        while (m_next >= m_words.size()) {
            QByteArray line;
            if (!m_reader.ReadLn(line))
                throw EGlobeException(QStringLiteral("MIF file %1 ends inside an object").arg(m_reader.FileName()));
            m_words = Words(line);
            m_next = 0;
        }
        return m_words[m_next++];
    }
    // A count of items that each take at least minBytes of the rest of the file.
    int Count(int64_t minBytes)
    {
        const QByteArray word = Next();
        const double v = Number(word);
        const int64_t left = m_reader.GetSize() - m_reader.Position();
        if (!(v >= 0) || v != std::trunc(v) || v > static_cast<double>(left / minBytes + 1))
            throw EGlobeException(QStringLiteral("MIF file %1: a count of %2 before offset %3 does not fit the file")
                                      .arg(m_reader.FileName(), QString::fromLatin1(word))
                                      .arg(m_reader.Position()));
        return static_cast<int>(v);
    }
    TPointLL Point()
    {
        const double x = Number(Next());
        return ToPoint(x, Number(Next()));
    }
    void ReadChain(TPointStore& chain)
    {
        const int n = Count(kMinPointBytes);
        chain.SetCount(n);
        int32_t* out = chain.MutableData();
        for (int k = 0; k < n; ++k, out += 2) {
            const TPointLL p = Point();
            out[0] = p.Long;
            out[1] = p.Lat;
        }
    }

private:
    TTextReader& m_reader;
    QList<QByteArray> m_words;
    int m_next;
};

// Fields of an attribute line; a delimiter inside quotes is text, and
// doubled quotes are one.
QList<QByteArray> Fields(const QByteArray& line, char delimiter)
{
    QList<QByteArray> fields;
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                field.append('"');
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == delimiter && !quoted) {
            fields.append(field);
            field.clear();
        } else {
            field.append(c);
        }
    }
    fields.append(field);
    return fields;
}

QByteArray QuotedText(const QByteArray& text)
{
    const qsizetype a = text.indexOf('"');
    const qsizetype b = a < 0 ? -1 : text.lastIndexOf('"');
    return b > a ? text.mid(a + 1, b - a - 1) : text.trimmed();
}
} // namespace

TGlobeMIFReader::TGlobeMIFReader(TCustomGlobeView& globe) : TGlobeFileReader(globe) {}

TGlobeMIFReader::~TGlobeMIFReader() { SetActive(false); }

void TGlobeMIFReader::Damaged(int64_t offset, const QString& what) const
{
    throw EGlobeException(QStringLiteral("MIF file %1: %2 at offset %3").arg(Filename(), what).arg(offset));
}

QString TGlobeMIFReader::DecodeText(const QByteArray& bytes) const
{
    return m_latin1 ? TextCodec::decodeWindows1252(bytes) : TextCodec::decode(bytes);
}

void TGlobeMIFReader::OpenFiles()
{
    const QString file = Globe().ResolveFilename(Filename());
    if (file.isEmpty())
        throw EGlobeException(QStringLiteral("File %1 not found").arg(Filename()));
    m_mif = std::make_unique<TTextReader>(file);
    ReadHeader(*m_mif);
    const QString mid = CompanionFile(file, QStringLiteral("mid"));
    if (!mid.isEmpty())
        m_mid = std::make_unique<TTextReader>(mid);
    m_fromMetaData = false;
    if (m_index.empty()) {
        LoadMetaData();
        if (!m_fromMetaData)
            MapFile();
    }
}

// Closing saves the mapped index as metadata; half an index must not be.
void TGlobeMIFReader::DiscardPartialMapping() { m_index.clear(); }

void TGlobeMIFReader::InternalClose()
{
    if (m_mif && !m_index.empty()) {
        // The metadata only saves time; a file that cannot be written, or an
        // object that cannot be read for its rectangle, leaves it out.
        try {
            SaveMetaData();
        } catch (const std::exception&) {
        }
    }
    SetCount(0);
    m_index.clear();
    m_index.shrink_to_fit();
    m_mif.reset();
    m_mid.reset();
    TGlobeObjectSource::InternalClose();
}

void TGlobeMIFReader::ReadHeader(TTextReader& mif)
{
    MIDColumnNames.clear();
    m_latin1 = false;
    bool columns = false;
    QByteArray line;
    while (mif.ReadLn(line)) {
        const QList<QByteArray> words = Words(line);
        if (words.isEmpty())
            continue;
        const QByteArray keyword = words[0].toLower();
        if (keyword == "data")
            return;
        if (columns) {
            MIDColumnNames.append(DecodeText(words[0]) + QLatin1Char('=')
                                  + (words.size() > 1 ? QString::fromLatin1(words[1]) : QString()));
        } else if (keyword == "version" && words.size() > 1) {
            MIFVersion = words[1].toInt();
        } else if (keyword == "charset" && words.size() > 1) {
            const QByteArray charset = QuotedText(words[1]).toLower();
            m_latin1 = charset == "windowslatin1" || charset == "iso8859_1";
        } else if (keyword == "delimiter" && words.size() > 1 && words[1].size() >= 2) {
            MIDDelimiter = QString(QLatin1Char(words[1][1]));
        } else if (keyword == "coordsys") {
            MIFCoordSys = QString::fromLatin1(line.trimmed());
            const QByteArray rest = words.size() > 3 ? line.mid(line.indexOf(words[3], line.indexOf(words[2])))
                                                     : QByteArray();
            const QByteArray projection = rest.left(rest.indexOf(',')).trimmed();
            if (words.size() < 4 || words[1].toLower() != "earth" || words[2].toLower() != "projection"
                || projection != "1" || !rest.contains(','))
                throw EGlobeException(QStringLiteral("MIF Import only supports Lat/Long tables."));
        } else if (keyword == "columns") {
            columns = true;
        }
    }
    throw EGlobeException(QStringLiteral("MIF file %1 has no Data line").arg(Filename()));
}

void TGlobeMIFReader::MapFile()
{
    MappingProgress progress(Globe(), m_mif->GetSize());
    QByteArray line;
    for (;;) {
        const int64_t at = m_mif->Position();
        if (!m_mif->ReadLn(line))
            break;
        // Only a line that starts with a keyword can begin an object;
        // coordinates and clauses are skipped here.
        qsizetype first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
            ++first;
        if (first == line.size() || !std::isalpha(static_cast<unsigned char>(line[first])))
            continue;
        qsizetype end = first;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        const Keyword keyword = ObjectKeyword(line.mid(first, end - first));
        if (keyword == Keyword::None)
            continue;
        int64_t mid = -1;
        QByteArray attributes;
        if (m_mid) {
            mid = m_mid->Position();
            if (!m_mid->ReadLn(attributes))
                mid = -1;
        }
        if (keyword != Keyword::Other) {
            progress.Object(static_cast<int>(m_index.size()), at);
            m_index.push_back({at, mid});
        }
    }
    SetCount(static_cast<int>(m_index.size()));
    progress.Finish();
}

QString TGlobeMIFReader::Title(const Entry& entry, const QString& fallback)
{
    if (!m_mid || entry.mid < 0)
        return fallback;
    m_mid->SetPosition(entry.mid);
    QByteArray line;
    if (!m_mid->ReadLn(line))
        return fallback;
    const char delimiter = MIDDelimiter.isEmpty() ? '\t' : static_cast<char>(MIDDelimiter[0].toLatin1());
    const QString title = DecodeText(Fields(line, delimiter).value(TitleColumn)).trimmed();
    return title.isEmpty() ? fallback : title;
}

TGlobeObject* TGlobeMIFReader::LoadObject(int i, bool /*isNew*/)
{
    const Entry entry = m_index.at(static_cast<size_t>(i));
    m_mif->SetPosition(entry.mif);
    QByteArray line;
    if (!m_mif->ReadLn(line))
        Damaged(entry.mif, QStringLiteral("the object is missing"));
    QList<QByteArray> words = Words(line);
    const Keyword keyword = words.isEmpty() ? Keyword::None : ObjectKeyword(words[0]);
    auto object = std::make_unique<TGeoDataObject>(this);
    TChainStore& chains = object->Chains();
    TMIFPresenterKind kind = TMIFPresenterKind::Poly;
    QString title = QStringLiteral("New Polyline");
    Tokens tokens(*m_mif, words, 1);
    switch (keyword) {
    case Keyword::Point:
        object->SetCentroid(tokens.Point());
        kind = TMIFPresenterKind::Point;
        title.clear();
        break;
    case Keyword::Line: {
        TPointStore& chain = chains.GetChain(0);
        chain.Add(tokens.Point());
        chain.Add(tokens.Point());
        break;
    }
    case Keyword::PLine: {
        int sections = 1;
        if (tokens.MoreInLine() && words[1].toLower() == "multiple") {
            tokens.Next();
            sections = tokens.Count(kMinPointBytes);
        }
        for (int s = 0; s < sections; ++s)
            tokens.ReadChain(chains.GetChain(s));
        break;
    }
    case Keyword::Region: {
        const int polygons = tokens.Count(2);
        for (int p = 0; p < polygons; ++p)
            tokens.ReadChain(chains.GetChain(p));
        object->SetClosed(true);
        title = QStringLiteral("New Polygon");
        break;
    }
    case Keyword::Text: {
        QByteArray text = line.mid(line.indexOf(words[0]) + words[0].size()).trimmed();
        if (text.isEmpty() && !m_mif->ReadLn(text))
            Damaged(entry.mif, QStringLiteral("the text is missing"));
        Tokens box(*m_mif, {}, 0);
        object->SetCentroid(box.Point());
        box.Point(); // the far corner of the text's box
        kind = TMIFPresenterKind::Point;
        title = DecodeText(QuotedText(text));
        break;
    }
    case Keyword::None:
    case Keyword::Other:
        Damaged(entry.mif, QStringLiteral("no object the engine can show"));
    }
    // Drawing clauses follow up to the next object.
    TMIFStyle style;
    while (m_mif->ReadLn(line) && style.Apply(Words(line), line)) {
    }
    object->SetPresenterID(MIFPresenterID(*this, kind, style));
    object->SetTitle(keyword == Keyword::Text ? title : Title(entry, title));
    return object.release();
}

QString TGlobeMIFReader::MetaDataPath()
{
    const QString data = m_mif ? m_mif->FileName() : Globe().ResolveFilename(Filename());
    if (data.isEmpty())
        return {};
    // Without a data directory the metadata goes beside the data file,
    // never into whatever folder the program was started from.
    if (Globe().SaveMetaDataLocation() == smdInDataDirectory && Globe().DataDirectory().isEmpty())
        return MetaDataFilename(data, false);
    return MetaDataFilename(data, true);
}

void TGlobeMIFReader::LoadMetaData()
{
    const QString path = MetaDataPath();
    const QFileInfo meta(path);
    if (path.isEmpty() || !meta.exists() || meta.lastModified() < QFileInfo(m_mif->FileName()).lastModified())
        return;
    try {
        ReadMetaFile(readWholeFile(path));
        m_fromMetaData = true;
    } catch (const std::exception&) {
        // Damaged or not ours: mapped again and written anew at closing.
        m_index.clear();
        SetCount(0);
        QFile::remove(path);
    }
}

void TGlobeMIFReader::ReadMetaFile(const QByteArray& bytes)
{
    TGlobeStreamReader reader(bytes);
    if (reader.ReadWord() != kMetaDataMark)
        throw EGlobeException(QStringLiteral("not a metadata file"));
    ReadMetaData(reader);
    MIFVersion = reader.ReadInteger();
    TitleColumn = reader.ReadInteger();
    MIDDelimiter = reader.ReadShortString();
    MIFCoordSys = reader.ReadShortString();
    const int32_t columns = reader.ReadInteger();
    reader.Require(int64_t{std::max(columns, 0)}, "the columns");
    MIDColumnNames.clear();
    for (int32_t c = 0; c < columns; ++c)
        MIDColumnNames.append(reader.ReadShortString());
    const int32_t entries = reader.ReadInteger();
    if (entries != Count())
        throw EGlobeException(QStringLiteral("entry count differs"));
    reader.Require(int64_t{entries} * 8, "the entries");
    const int64_t mifSize = m_mif->GetSize();
    const int64_t midSize = m_mid ? m_mid->GetSize() : 0;
    m_index.resize(static_cast<size_t>(entries));
    for (Entry& e : m_index) {
        e.mif = reader.ReadInteger();
        e.mid = reader.ReadInteger();
        if (e.mif < 0 || e.mif >= mifSize || e.mid < -1 || e.mid >= std::max<int64_t>(midSize, 0) + (e.mid < 0))
            throw EGlobeException(QStringLiteral("offset outside the data files"));
    }
    if (reader.ReadShortString().compare(QFileInfo(m_mif->FileName()).fileName(), Qt::CaseInsensitive) != 0)
        throw EGlobeException(QStringLiteral("metadata of another file"));
}

void TGlobeMIFReader::SaveMetaData()
{
    const QString path = MetaDataPath();
    if (m_fromMetaData || path.isEmpty())
        return;
    for (const Entry& e : m_index)
        if (e.mif > std::numeric_limits<int32_t>::max() || e.mid > std::numeric_limits<int32_t>::max())
            return; // the offsets do not fit the form
    TGlobeStreamWriter writer(std::make_unique<QBuffer>());
    writer.WriteWord(kMetaDataMark);
    WriteMetaData(writer);
    writer.WriteInteger(MIFVersion);
    writer.WriteInteger(TitleColumn);
    writer.WriteShortString(MIDDelimiter);
    writer.WriteShortString(MIFCoordSys);
    writer.WriteInteger(static_cast<int32_t>(MIDColumnNames.size()));
    for (const QString& column : MIDColumnNames)
        writer.WriteShortString(column);
    writer.WriteInteger(static_cast<int32_t>(m_index.size()));
    for (const Entry& e : m_index) {
        writer.WriteInteger(static_cast<int32_t>(e.mif));
        writer.WriteInteger(static_cast<int32_t>(e.mid));
    }
    writer.WriteShortString(QFileInfo(m_mif->FileName()).fileName());
    writeFileAtomically(path, static_cast<QBuffer&>(writer.Stream()).data());
}

void TGlobeMIFReader::LoadEnvironment(const TGlobeXmlElement& element)
{
    TGlobeFileReader::LoadEnvironment(element);
    TitleColumn = element.IntAttribute(QStringLiteral("TitleColumn"), TitleColumn);
    MIDDelimiter = element.Attribute(QStringLiteral("MIDDelimiter"), MIDDelimiter).left(1);
    MIFCoordSys = element.Attribute(QStringLiteral("MIFCoordSys"), MIFCoordSys);
}

void TGlobeMIFReader::SaveEnvironment(TGlobeXmlElement& element)
{
    TGlobeFileReader::SaveEnvironment(element);
    element.SetIntAttribute(QStringLiteral("TitleColumn"), TitleColumn);
    element.SetAttribute(QStringLiteral("MIDDelimiter"), MIDDelimiter);
    element.SetAttribute(QStringLiteral("MIFCoordSys"), MIFCoordSys);
}
