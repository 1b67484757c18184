#pragma once

// What the map file readers share: the file name, bounded reads from the
// data file and the progress of mapping a file.

#include "globe/GlobeClasses.h"

#include <QFile>

class TGlobeFileReader : public TGlobeObjectSource {
public:
    using TGlobeObjectSource::TGlobeObjectSource;

    const QString& Filename() const { return m_filename; }
    void SetFilename(const QString& name) { m_filename = name; }

    void LoadEnvironment(const TGlobeXmlElement& element) override;
    void SaveEnvironment(TGlobeXmlElement& element) override;

protected:
    // Opens the files and maps them; when that fails, the reader closes again
    // before the error goes on, so that no half-open reader is left behind.
    void InternalOpen() final;
    virtual void OpenFiles() = 0;
    // Called on a failed open before closing: a reader that saves what it
    // mapped when it closes drops the unfinished part here.
    virtual void DiscardPartialMapping() {}

    // The file named by Filename through the globe's ResolveFilename, open
    // for reading; raises EGlobeException when it is not there.
    void OpenDataFile(QFile& file, const QString& name) const;
    // The file of the same name with another extension beside a data file,
    // whatever the letter case of the extension; empty when there is none.
    static QString CompanionFile(const QString& dataFile, const QString& extension);
    // Exactly count bytes from offset, or EGlobeException naming the file.
    static void ReadAt(QFile& file, int64_t offset, int64_t count, char* into);

    // "Mapping", then every 256 objects the share of the file read so far,
    // then "Finished".
    class MappingProgress {
    public:
        MappingProgress(TCustomGlobeView& globe, int64_t fileSize);
        void Object(int index, int64_t position);
        void Finish();

    private:
        TCustomGlobeView& m_globe;
        int64_t m_size;
    };

private:
    QString m_filename;
};
