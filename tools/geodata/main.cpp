// geodata: generates the shipped geography (index, globe data, standard
// lessons, map pictures) from the raw sources.
//
//   geodata <source folder> <data folder> [<check file>] [--png <folder>]
//
// The data folder receives Data/geodata.ini, Data/geodata.dat and the
// lessons in Lektionen/. The check file lists where each term lies, for the
// data checks. With --png every map picture is also written as PNG, and
// every country's flag as the flag painter draws it, to look at.

#include "codec/GifCodec.h"
#include "learning/FlagPainter.h"
#include "platform/AtomicFile.h"
#include "tools/geodata/Build.h"
#include "tools/geodata/Maps.h"
#include "tools/geodata/Output.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <exception>

#ifndef GEODATA_TABLES
#define GEODATA_TABLES "."
#endif

namespace {

// Each country's flag in its own proportions, named by record number and
// two-letter code; the emblems come from the committed Data folder.
void writeFlagPictures(const Dataset& data, const QString& folder)
{
    QDir().mkpath(folder);
    FlagPainter painter;
    painter.SetPictureFolder(QStringLiteral(GEODATA_TABLES "/../../data/Data"));
    for (const Record* r : data.ofKind(Kind::Country)) {
        const QString* description = data.flagOf(*r);
        if (!description)
            continue;
        const int height = 120;
        QImage image(FlagPainter::FlagWidth(*description, height, false) + 1, height + 1, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        QString error;
        if (!painter.TryPaint(p, *description, height, &error))
            std::fprintf(stderr, "geodata: flag of %s: %s\n", qPrintable(r->key), qPrintable(error));
        p.end();
        painter.DropEmblem();
        image.save(QStringLiteral("%1/%2_%3.png").arg(folder).arg(r->number).arg(r->iso2));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString pngDir;
    if (const auto i = args.indexOf(QStringLiteral("--png")); i >= 0 && i + 1 < args.size()) {
        pngDir = args[i + 1];
        args.remove(i, 2);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: geodata <source folder> <data folder> [<check file>] [--png <folder>]\n");
        return 2;
    }
    try {
        const QString dataDir = args[1];
        QDir().mkpath(dataDir + QStringLiteral("/Data"));
        QDir().mkpath(dataDir + QStringLiteral("/Lektionen"));
        const Dataset data = buildDataset(args[0], QStringLiteral(GEODATA_TABLES));

        std::map<int, qint64> positions;
        writeFileAtomically(dataDir + QStringLiteral("/Data/geodata.dat"), globeStream(data, positions));
        writeFileAtomically(dataDir + QStringLiteral("/Data/geodata.ini"), indexText(data, positions));
        if (args.size() > 2)
            writeFileAtomically(args[2], checkText(data));
        for (const auto& [file, text] : globeLessons(data))
            writeFileAtomically(dataDir + QStringLiteral("/Lektionen/") + file, text);
        for (const PictureLesson& p : pictureLessons(data)) {
            writeFileAtomically(dataDir + QStringLiteral("/Lektionen/") + p.lessonFile, p.lesson);
            GifCodec::saveFile(p.picture, dataDir + QStringLiteral("/Lektionen/") + p.pictureFile);
            if (!pngDir.isEmpty()) {
                QDir().mkpath(pngDir);
                p.picture.save(pngDir + u'/' + QString(p.pictureFile).replace(QStringLiteral(".gif"), QStringLiteral(".png")));
            }
        }
        if (!pngDir.isEmpty())
            writeFlagPictures(data, pngDir + QStringLiteral("/flags"));
        std::printf("geodata: %zu records\n", data.records.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "geodata: %s\n", e.what());
        return 1;
    }
    return 0;
}
