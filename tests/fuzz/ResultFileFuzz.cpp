// A user's result file (any bytes): the stored lines of every lesson in it
// read as the result window reads them, then shown in its comparison list
// and its chart.

#include "FuzzSupport.h"

#include "platform/IniFile.h"
#include "platform/OrbiloError.h"
#include "results/Ergebnis.h"
#include "results/Ergebnisse.h"
#include "results/ResultFile.h"

#include <QDateTime>

#include <algorithm>

namespace {
// A file may hold any number of lessons; a few show every path.
constexpr int kMaxLessons = 8;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    static Tfrm_Ergebnis* window = [] {
        TErgebnis::SetClock([] { return QDateTime(QDate(2024, 5, 17), QTime(10, 30)); });
        return new Tfrm_Ergebnis; // lives as long as the process, as in the program
    }();

    const QString path = Fuzz::WriteScratchFile(QStringLiteral("1.dat"), data, size);
    try {
        const TResultFile results(path);
        const QStringList lessons = IniFile(path).ReadSections();
        for (qsizetype i = 0; i < std::min<qsizetype>(lessons.size(), kMaxLessons); ++i) {
            const QStringList lines = results.ReadLines(lessons[i]);
            TResultRow row;
            for (const QString& line : lines)
                if (!ParseResultLine(line, row))
                    Fuzz::Violation("a line the reader kept does not parse", line);

            TErgebnis current;
            current.ModeText = QStringLiteral("Kurzkontrolle");
            current.Start();
            current.Total = 12;
            current.Correct = 9;
            current.Finish();
            window->Fill(current, QStringLiteral("Fuzz"), lines, 1 + static_cast<int>(i % 2),
                         {0, 90, 75, 65, 50, 25});
            if (window->ComparisonRows().size() != static_cast<size_t>(lines.size()) + 1)
                Fuzz::Violation("the comparison list lost a stored line");
            window->ShowPage(1);
            window->grab();
            window->ShowPage(2);
            window->grab();
        }
    } catch (const OrbiloError&) {
        // An unreadable file is reported to the learner.
    }
    return 0;
}
