// A lesson file (any bytes) listed in the catalogue and opened in a learning
// view as the catalogue opens it: header, picture or globe map, categories
// and items, the items' places on the map and the first question, then the
// view drawn once. A damaged lesson may be refused with an error; it must
// never bring the program down.

#include "FuzzSupport.h"

#include "app/Lektionenliste.h"
#include "learning/GeoLernen.h"
#include "lesson/TLernOptionen.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"

#include <QDir>
#include <QVBoxLayout>

#include <exception>
#include <memory>

namespace {
// The shipped program folder: maps, index and globe data. Only read.
const QString kProgramFolder = QStringLiteral(ORBILO_DATA_DIR "/");
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    static TOptionen* settings = [] {
        QDir(Fuzz::ScratchFolder()).mkpath(QStringLiteral("Lektionen"));
        auto* s = new TOptionen(kProgramFolder, std::make_unique<IniFile>(Fuzz::ScratchFolder() + "/geo.ini"));
        s->UserNumber = 1;
        s->ShowFlagAbfrage = true;
        return s;
    }();
    static QWidget* page = [] {
        auto* p = new QWidget;
        p->resize(320, 240);
        new QVBoxLayout(p);
        return p;
    }();

    const QString path = Fuzz::WriteScratchFile(QStringLiteral("Lektionen/fuzz.lek"), data, size);
    // The catalogue reads the header of every lesson in the folder.
    for (int language = 1; language <= 3; ++language)
        TLektionenList::CollectEntries(Fuzz::ScratchFolder() + QStringLiteral("/Lektionen"), -1, language);
    // The length picks the mode and its switches, so that the seeds stay
    // plain lesson files.
    auto options = std::make_unique<TLernOptionen>();
    options->Options = settings;
    options->Mode = static_cast<int>(size % 3);
    options->Hauptstaedte = (size / 3) % 2 == 1;
    options->ViewOnMap = (size / 6) % 2 == 1;
    try {
        TGeoLernen view(page, path, std::move(options), kProgramFolder);
        if (view.Opened())
            page->grab();
    } catch (const std::exception&) {
        // The main window shows the error and returns to the catalogue.
    }
    return 0;
}
