#include "FuzzSupport.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

class OkResponder : public DialogResponder {
public:
    int message(const MessageRequest&) override { return mrOk; }
    bool input(const InputRequest&, QString&) override { return false; }
    int execDialog(QDialog&) override { return 0; }
};

} // namespace

namespace Fuzz {

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps argc and argv; the fuzzer's own options are none of its business.
    static int argc = 1;
    static char name[] = "orbilo-fuzz";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit, Qt's own global objects (the style of the
    // globe's scroll bars among them) are gone before a static application
    // would run its clean-up routines over them.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    static OkResponder responder;
    SetDialogResponder(&responder);
}

const QString& ScratchFolder()
{
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/orbilo-fuzz-XXXXXX"));
        if (!dir->isValid()) {
            std::fprintf(stderr, "orbilo-fuzz: cannot make a scratch folder in %s\n", qPrintable(base));
            std::abort();
        }
        return dir;
    }();
    static const QString path = folder->path();
    return path;
}

QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = ScratchFolder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        std::fprintf(stderr, "orbilo-fuzz: cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

void Violation(const char* what, const QString& detail)
{
    std::fprintf(stderr, "orbilo-fuzz: %s%s%s\n", what, detail.isEmpty() ? "" : ": ", qPrintable(detail));
    std::abort();
}

} // namespace Fuzz
