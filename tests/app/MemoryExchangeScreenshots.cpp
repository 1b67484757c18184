#include "AppFixture.h"

#include "app/Austausch.h"
#include "app/Lektionenliste.h"
#include "learning/GeoInputMemory.h"
#include "learning/GeoLernen.h"
#include "learning/MemoryPanel.h"
#include "lesson/TLernOptionen.h"
#include "widgets/LessonListBox.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"

#include <QDirIterator>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QApplication>

// Renders the memory board and the lesson exchange to PNG files when
// ORBILO_SCREENSHOT_DIR is set, so that they can be looked at; otherwise
// skipped.
namespace {

class MemoryExchangeScreenshots : public AppFixture {
protected:
    QString out;

    void SetUp() override
    {
        out = qEnvironmentVariable("ORBILO_SCREENSHOT_DIR");
        if (out.isEmpty())
            GTEST_SKIP() << "set ORBILO_SCREENSHOT_DIR to render the windows";
        QDir().mkpath(out);
        QDir(dir.path()).mkpath("Ergebnisse");
        for (const char* folder : {"Lektionen", "Data"}) {
            QDir(dir.path()).mkpath(folder);
            for (QDirIterator it(QStringLiteral(ORBILO_DATA_FOLDER) + "/" + folder, QDir::Files); it.hasNext();) {
                const QString file = it.next();
                QFile::copy(file, dir.filePath(QString(folder) + "/" + QFileInfo(file).fileName()));
            }
        }
    }
    void TearDown() override
    {
        Tfrm_main::StartHooks = {};
        TGeoInput::RandomSeed = nullptr;
        TGeoInputMemory::DealStepMs = 12;
        TMemoryPanel::TurnMs = 180;
        TGeoInputMemory::JudgeDelayMs = 200;
    }
    void save(QWidget& widget, const QString& name)
    {
        QCoreApplication::processEvents();
        widget.grab().save(out + '/' + name + ".png");
    }
    static void selectLesson(Tfrm_main& main, const QString& fileName)
    {
        for (int row = 0; row < main.lektionen()->count(); ++row)
            if (main.lektionen()->item(row)->text().endsWith(";" + fileName))
                main.lektionen()->setCurrentRow(row);
    }
};

TEST_F(MemoryExchangeScreenshots, RenderMemoryBoards)
{
    TGeoInput::RandomSeed = [] { return 5u; };
    TGeoInputMemory::DealStepMs = 0;
    TMemoryPanel::TurnMs = 0;
    TGeoInputMemory::JudgeDelayMs = 0;
    struct Shot {
        const char* lesson;
        int group;
        int pairing;
        QSize size;
    } shots[] = {
        {"Europa_Laender.lek", 3, 0, {900, 650}}, {"Europa_Laender.lek", 3, 1, {900, 650}},
        {"Europa_Laender.lek", 3, 2, {900, 650}}, {"Suedamerika_Laender.lek", 2, 3, {1000, 720}},
        {"Suedamerika_Laender.lek", 2, 4, {1000, 720}}, {"Suedamerika_Laender_Karte.lek", 2, 0, {900, 650}},
    };
    for (int language : {1, 3}) {
        writeIni(QString("[Geo]\nLanguage=%1\n[Users]\n1=Anna\n").arg(language).toUtf8());
        auto main = start();
        main->show();
        for (const Shot& shot : shots) {
            const int pairing = shot.pairing;
            Tfrm_main::StartHooks.LearningSettings = [pairing](TLernOptionen& o, bool memory, int) {
                EXPECT_TRUE(memory);
                o.Mode = 3;
                o.MemoryPairing = pairing;
                return true;
            };
            Tfrm_main::StartHooks.CreateLearningView = [this](QWidget* page, const QString& path,
                                                              std::unique_ptr<TLernOptionen> o) -> TGeo* {
                return new TGeoLernen(page, path, std::move(o), folder());
            };
            main->resize(shot.size);
            main->Button("Btn_Haupt_Lernen")->click();
            main->Lektionen().SetFilter(shot.group);
            selectLesson(*main, shot.lesson);
            main->Button("Btn_Lektionen_Start")->click();
            auto* view = dynamic_cast<TGeoLernen*>(main->LessonView());
            ASSERT_NE(view, nullptr);
            auto& game = dynamic_cast<TGeoInputMemory&>(*view->InputPanel);
            QCoreApplication::processEvents();
            // One pair found, one card selected, one wrong attempt behind.
            TMemoryPanel* a = game.Cards()[0];
            for (TMemoryPanel* b : game.Cards())
                if (b != a && &b->Item == &a->Item) {
                    game.PressCard(*a);
                    game.PressCard(*b);
                    break;
                }
            game.PressCard(*game.Cards()[2]);
            game.PressCard(*game.Cards()[5]);
            game.PressCard(*game.Cards()[3]);
            const QString name = QString("memory_%1_p%2_%3").arg(QFileInfo(shot.lesson).baseName()).arg(pairing).arg(language);
            save(*main, name);
            game.Tip();
            save(*main, name + "_tip");
            main->Button("btn_Lernen_Zurueck")->click();
            QCoreApplication::processEvents();
        }
    }
}

// A card as it turns: the stages of the turn side by side.
TEST_F(MemoryExchangeScreenshots, RenderATurningCard)
{
    TGeoInputMemory::DealStepMs = 0;
    writeIni("[Geo]\nLanguage=1\n[Users]\n1=Anna\n");
    auto main = start();
    main->resize(900, 650);
    main->show();
    Tfrm_main::StartHooks.LearningSettings = [](TLernOptionen& o, bool, int) {
        o.Mode = 3;
        o.MemoryPairing = 1;
        return true;
    };
    Tfrm_main::StartHooks.CreateLearningView = [this](QWidget* page, const QString& path, std::unique_ptr<TLernOptionen> o) -> TGeo* {
        return new TGeoLernen(page, path, std::move(o), folder());
    };
    main->Button("Btn_Haupt_Lernen")->click();
    main->Lektionen().SetFilter(3);
    selectLesson(*main, "Europa_Laender.lek");
    main->Button("Btn_Lektionen_Start")->click();
    auto* view = dynamic_cast<TGeoLernen*>(main->LessonView());
    ASSERT_NE(view, nullptr);
    auto& game = dynamic_cast<TGeoInputMemory&>(*view->InputPanel);
    QCoreApplication::processEvents();
    for (int k : {0, 1}) {
        TMemoryPanel* card = game.Cards()[static_cast<size_t>(k)];
        game.PressCard(*card);
        QImage strip(card->width() * 5 + 40, card->height() + 10, QImage::Format_RGB32);
        strip.fill(QColor(0xEE, 0xEE, 0xEE));
        QPainter p(&strip);
        for (int i = 0; i < 5; ++i) {
            card->SetTurnProgress(i / 4.0);
            p.save();
            p.translate(5 + i * (card->width() + 8), 5);
            card->PaintCard(p);
            p.restore();
        }
        p.end();
        strip.save(QString("%1/memory_turn_%2.png").arg(out).arg(k));
        QTRY_VERIFY(!card->Turning());
    }
    main->Button("btn_Lernen_Zurueck")->click();
}

// The exchange: the pop-up under the button, the export selection, and the
// real file and message dialogs (grabbed while they are open, then closed).
TEST_F(MemoryExchangeScreenshots, RenderExchange)
{
    const QString lessons = dir.filePath("Lektionen/");
    QFile::copy(lessons + "Europa_Laender_Karte.lek", lessons + "Meine_Karte.lek");
    {
        IniFile own(lessons + "Meine_Karte.lek");
        own.WriteString("Lektion", "Typ", "image");
        own.WriteString("Lektion", "Name", QString::fromUtf8("Meine Karte Europas"));
        own.WriteString("Lektion", "NameEnglish", "My map of Europe");
    }
    QFile::copy(lessons + "Afrika_Seen.lek", lessons + "Seen.lek");
    IniFile(lessons + "Seen.lek").WriteString("Lektion", "Typ", "globe");
    // Grabs the dialog that opens next, then closes it.
    auto grabNext = [this](const QString& name) {
        QTimer::singleShot(300, [this, name] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->grab().save(out + '/' + name + ".png");
                modal->close();
            }
        });
    };
    for (int language : {1, 3}) {
        writeIni(QString("[Geo]\nLanguage=%1\n[Users]\n1=Anna\n").arg(language).toUtf8());
        auto main = start();
        main->resize(760, 560);
        main->show();
        main->Button("Btn_Haupt_Editor")->click();
        TAustausch& exchange = *main->findChild<TAustausch*>();
        main->Button("btn_LEditor_Austausch")->click();
        QCoreApplication::processEvents();
        save(*main, QString("exchange_catalogue_%1").arg(language));
        exchange.Popup_Export()->grab().save(QString("%1/exchange_menu_%2.png").arg(out).arg(language));
        exchange.Popup_Export()->hide();
        exchange.menu_Export()->trigger();
        if (exchange.lektionen_cb()->count() > 0)
            exchange.lektionen_cb()->item(0)->setCheckState(Qt::Checked);
        save(*main, QString("exchange_selection_%1").arg(language));

        // The real dialogs, as the learner sees them.
        SetDialogResponder(nullptr);
        grabNext(QString("exchange_save_dialog_%1").arg(language));
        main->Button("btn_Export_Export")->click(); // closed: cancelled
        exchange.lektionen_cb()->item(0)->setCheckState(Qt::Unchecked);
        grabNext(QString("exchange_noselection_%1").arg(language));
        main->Button("btn_Export_Export")->click();
        main->Button("btn_Export_Zurueck")->click();
        grabNext(QString("exchange_open_dialog_%1").arg(language));
        exchange.menu_Import()->trigger();
        // A refused import and a done one: the file is chosen here, the
        // message box is the real one.
        struct FileOnly : DialogResponder {
            DialogResponder* real = nullptr;
            QString path;
            int message(const MessageRequest& request) override { return real->message(request); }
            bool input(const InputRequest& request, QString& value) override { return real->input(request, value); }
            QString fileName(const FileRequest&) override { return path; }
        } files;
        files.real = SetDialogResponder(&files); // the real dialogs, in place since above
        writeFileAtomically(dir.filePath("alt.lkp"), "old");
        files.path = dir.filePath("alt.lkp");
        grabNext(QString("exchange_import_error_%1").arg(language));
        exchange.menu_Import()->trigger();
        files.path = dir.filePath("Lektionen/Seen.lek");
        grabNext(QString("exchange_import_success_%1").arg(language));
        exchange.menu_Import()->trigger();
        save(*main, QString("exchange_imported_%1").arg(language));
        SetDialogResponder(&responder);
        main->Button("btn_LEditor_Zurueck")->click();
    }
}

} // namespace
