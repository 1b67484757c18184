// The geographic index (any text) as a globe lesson reads it: a fixed lesson
// that asks for items of every kind is opened in a learning view over this
// index and the shipped globe data, so that every record the lesson reaches
// (names, numbers, capitals, flags, sub-items, stream positions) is parsed
// and followed. The record parser alone then reads every record of the text.

#include "FuzzSupport.h"

#include "learning/GeoLernen.h"
#include "lesson/ConversionError.h"
#include "lesson/GeoIndex.h"
#include "lesson/TLernOptionen.h"
#include "maps/GlobeLessonLink.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"

#include <QDir>
#include <QFile>
#include <QVBoxLayout>

#include <exception>
#include <memory>

namespace {

// Two items of each kind, numbered as in the shipped index.
constexpr char kLesson[] = "[Lektion]\nVersion=3\nTyp=globe\nName=Fuzz\n"
                           "[L]\n1=1\n2=2\n"
                           "[C]\n1=1001\n2=1002\n"
                           "[F]\n1=3001\n2=3002\n"
                           "[S]\n1=3401\n2=3402\n"
                           "[I]\n1=3701\n2=3702\n"
                           "[T]\n1=4001\n2=4002\n";
// Records of a real index are a few thousand; the parser's cost is per record.
constexpr int kMaxRecords = 4000;

QString programFolder()
{
    static const QString folder = [] {
        const QDir dir(Fuzz::ScratchFolder());
        dir.mkpath(QStringLiteral("program/Data"));
        dir.mkpath(QStringLiteral("program/Lektionen"));
        const QString base = dir.filePath(QStringLiteral("program/"));
        QFile::link(QStringLiteral(ORBILO_DATA_DIR "/Data/geodata.dat"), base + QStringLiteral("Data/geodata.dat"));
        QFile lesson(base + QStringLiteral("Lektionen/index.lek"));
        if (!lesson.open(QIODevice::WriteOnly) || lesson.write(kLesson) != qint64(sizeof kLesson - 1))
            Fuzz::Violation("cannot write the lesson");
        return base;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    const QString folder = programFolder();
    static TOptionen* settings = [&] {
        auto* s = new TOptionen(folder, std::make_unique<IniFile>(folder + QStringLiteral("geo.ini")));
        s->UserNumber = 1;
        return s;
    }();
    static QWidget* page = [] {
        auto* p = new QWidget;
        p->resize(320, 240);
        new QVBoxLayout(p);
        return p;
    }();

    const QString indexPath = folder + QStringLiteral("Data/geodata.ini");
    {
        QFile index(indexPath);
        if (!index.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || index.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            Fuzz::Violation("cannot write the index");
    }

    auto options = std::make_unique<TLernOptionen>();
    options->Options = settings;
    options->Mode = static_cast<int>(size % 3);
    options->Hauptstaedte = (size / 3) % 2 == 1;
    try {
        TGeoLernen view(page, folder + QStringLiteral("Lektionen/index.lek"), std::move(options), folder);
        if (view.Opened())
            page->grab();
    } catch (const std::exception&) {
        // The main window shows the error and returns to the catalogue.
    }

    const TGeoIndex index(indexPath);
    int records = 0;
    for (const QString& section : index.ReadSections()) {
        if (section.isEmpty())
            continue;
        for (const QString& entry : index.ReadSectionValues(section)) {
            if (++records > kMaxRecords)
                return 0;
            const QString key = entry.section(u'=', 0, 0);
            const QString value = index.ReadString(section, key);
            index.ReadInteger(section, key, 0);
            try {
                ParseGlobeRecord(value, TValueSource{indexPath, section, key});
            } catch (const ConversionError&) {
            }
        }
    }
    return 0;
}
