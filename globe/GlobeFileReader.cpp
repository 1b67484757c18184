#include "globe/GlobeFileReader.h"

#include "globe/GlobeXml.h"

#include <QDir>
#include <QFileInfo>

void TGlobeFileReader::LoadEnvironment(const TGlobeXmlElement& element)
{
    TGlobeObjectSource::LoadEnvironment(element);
    m_filename = element.Attribute(QStringLiteral("Filename"), m_filename);
}

void TGlobeFileReader::SaveEnvironment(TGlobeXmlElement& element)
{
    TGlobeObjectSource::SaveEnvironment(element);
    element.SetAttribute(QStringLiteral("Filename"), m_filename);
}

void TGlobeFileReader::InternalOpen()
{
    try {
        OpenFiles();
    } catch (...) {
        DiscardPartialMapping();
        InternalClose();
        throw;
    }
    TGlobeObjectSource::InternalOpen();
}

void TGlobeFileReader::OpenDataFile(QFile& file, const QString& name) const
{
    const QString resolved = Globe().ResolveFilename(name);
    if (resolved.isEmpty())
        throw EGlobeException(QStringLiteral("File %1 not found").arg(name));
    file.setFileName(resolved);
    // Objects are read at random offsets: Qt's read-ahead would only copy.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EGlobeException(QStringLiteral("Cannot open %1: %2").arg(resolved, file.errorString()));
}

QString TGlobeFileReader::CompanionFile(const QString& dataFile, const QString& extension)
{
    const QFileInfo info(dataFile);
    const QString wanted = info.completeBaseName() + QLatin1Char('.') + extension;
    // Name filters ignore letter case.
    for (const QString& name : info.dir().entryList({wanted}, QDir::Files))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return info.dir().filePath(name);
    return {};
}

void TGlobeFileReader::ReadAt(QFile& file, int64_t offset, int64_t count, char* into)
{
    if (offset < 0 || count < 0 || offset > file.size() - count || !file.seek(offset)
        || file.read(into, count) != count)
        throw EGlobeException(QStringLiteral("%1: cannot read %2 bytes at offset %3 of %4")
                                  .arg(file.fileName())
                                  .arg(count)
                                  .arg(offset)
                                  .arg(file.size()));
}

TGlobeFileReader::MappingProgress::MappingProgress(TCustomGlobeView& globe, int64_t fileSize)
    : m_globe(globe), m_size(fileSize)
{
    m_globe.ProgressMessage(pmStart, QStringLiteral("Mapping"));
}

void TGlobeFileReader::MappingProgress::Object(int index, int64_t position)
{
    if (index % 256 == 0 && m_size > 0)
        m_globe.ProgressMessage(pmPercent, QString::number(position * 100 / m_size));
}

void TGlobeFileReader::MappingProgress::Finish() { m_globe.ProgressMessage(pmEnd, QStringLiteral("Finished")); }
