// The INI reader on any bytes: every kind of read the program makes, then a
// write and a delete, after which a fresh reader must see the written value
// and every other value as it was.

#include "FuzzSupport.h"

#include "platform/IniFile.h"
#include "platform/OrbiloError.h"

#include <tuple>
#include <vector>

namespace {

const QString kKey = QStringLiteral("FuzzKey");
const QString kValue = QStringLiteral("written by the fuzzer");
// Enough values to see a write disturb its neighbours, few enough to stay quick.
constexpr int kMaxChecked = 200;

using Values = std::vector<std::tuple<QString, QString, QString>>;

Values readAll(const IniFile& file)
{
    Values values;
    for (const QString& section : file.ReadSections()) {
        if (!file.SectionExists(section))
            Fuzz::Violation("a listed section does not exist", section);
        for (const QString& key : file.ReadSection(section)) {
            if (!file.ValueExists(section, key))
                Fuzz::Violation("a listed key does not exist", section + u'/' + key);
            file.ReadInteger(section, key, 0);
            file.ReadBool(section, key, false);
            if (static_cast<int>(values.size()) < kMaxChecked
                && QString::compare(key.trimmed(), kKey, Qt::CaseInsensitive) != 0)
                values.emplace_back(section, key, file.ReadString(section, key));
        }
        file.ReadSectionEntries(section);
    }
    return values;
}

void expectUnchanged(const Values& before, const QString& path, const char* after)
{
    const IniFile reread(path);
    for (const auto& [section, key, value] : before) {
        const QString now = reread.ReadString(section, key);
        if (now != value)
            Fuzz::Violation(after, QStringLiteral("[%1] %2 was \"%3\", is \"%4\"").arg(section, key, value, now));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = Fuzz::WriteScratchFile(QStringLiteral("fuzz.ini"), data, size);
    try {
        IniFile file(path);
        const Values before = readAll(file);
        const QStringList sections = file.ReadSections();
        const QString section = sections.isEmpty() ? QStringLiteral("Fuzz") : sections.front();

        file.WriteString(section, kKey, kValue);
        if (IniFile(path).ReadString(section, kKey) != kValue)
            Fuzz::Violation("a written value does not read back", section);
        expectUnchanged(before, path, "a write changed another value");

        file.DeleteKey(section, kKey);
        expectUnchanged(before, path, "a delete changed another value");
    } catch (const OrbiloError&) {
        // A file that cannot be read or written is reported, as the program does.
    }
    return 0;
}
