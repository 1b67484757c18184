#include "AppFixture.h"

#include "app/Lektionenliste.h"
#include "app/ProgramHooks.h"
#include "learning/GeoInputMemory.h"
#include "learning/GeoLernen.h"
#include "learning/MemoryPanel.h"
#include "learning/Trainingsarten.h"
#include "lesson/TLernOptionen.h"
#include "platform/IniFile.h"
#include "results/Ergebnis.h"
#include "results/Ergebnisse.h"
#include "widgets/LessonListBox.h"
#include "widgets/RadioGroup.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

namespace {

// A memory run as the program runs it: from the catalogue through the
// learning settings dialog to the end of the game, the result window and
// the line in the learner's result file.
class MemoryRun : public AppFixture {
protected:
    MemoryRun()
    {
        QDir(dir.path()).mkpath("Lektionen");
        QDir(dir.path()).mkpath("Ergebnisse");
        QDir(dir.path()).mkpath("Data");
        writeIni("[Users]\n1=Anna\n");
        TMemoryPanel::TurnMs = 0;
        TGeoInputMemory::JudgeDelayMs = 0;
        TGeoInputMemory::DealStepMs = 0;
    }
    ~MemoryRun() override
    {
        Tfrm_main::StartHooks = {};
        TGeoLernen::ResultWindow = nullptr;
        TMemoryPanel::TurnMs = 180;
        TGeoInputMemory::JudgeDelayMs = 200;
        TGeoInputMemory::DealStepMs = 12;
    }
    void lesson(const QString& name, const QByteArray& text)
    {
        QFile f(dir.filePath("Lektionen/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

// Twelve countries with their capitals: 24 cards; three wrong attempts and
// all pairs found give 12 × 100 / 15 = 80 %.
TEST_F(MemoryRun, TwelvePairsAndThreeMistakesEndWithEightyPercent)
{
    QByteArray text = "[Lektion]\nName=Zwölf\nTyp=image\nKategorie=3\n[Allgemeines]\nLHDatei=1\n"
                      "[Kategorien]\n1=Länder\n[AKategorien]\n1=12\n[Kategorie1]\n";
    const char* countries[][2] = {{"Albanien", "Tirana"},   {"Belgien", "Brüssel"}, {"Dänemark", "Kopenhagen"},
                                  {"Estland", "Tallinn"},   {"Finnland", "Helsinki"}, {"Griechenland", "Athen"},
                                  {"Irland", "Dublin"},     {"Lettland", "Riga"},   {"Malta", "Valletta"},
                                  {"Norwegen", "Oslo"},     {"Österreich", "Wien"}, {"Polen", "Warschau"}};
    for (int i = 0; i < 12; ++i)
        text += QByteArray::number(i + 1) + '=' + countries[i][0] + '?' + QByteArray::number(10 * i) + "&5?" +
                countries[i][1] + '\n';
    lesson("zwoelf.lek", text);

    auto main = start();
    main->show();
    Tfrm_training training(main.get());
    Tfrm_Ergebnis resultWindow(main.get());
    InstallProgramHooks(*main, training, resultWindow, folder());
    int resultsShown = 0;
    unsigned offered = 0;
    const auto welcome = responder.onDialog;
    responder.onDialog = [&](QDialog& dialog) {
        if (&dialog == &training) {
            EXPECT_TRUE(training.ModeButton(3)->isVisibleTo(&training)) << "a country lesson offers the memory game";
            training.ModeButton(3)->click();
            for (int p = 0; p < 5; ++p)
                offered |= training.Auswahl_Memory()->ItemEnabled(p) ? 1u << p : 0u;
            training.Auswahl_Memory()->SetItemIndex(0);
            return int(QDialog::Accepted);
        }
        if (&dialog == &resultWindow)
            return ++resultsShown, int(QDialog::Accepted);
        return welcome(dialog);
    };

    main->Button("Btn_Haupt_Lernen")->click();
    main->Lektionen().SetFilter(3);
    ASSERT_EQ(main->lektionen()->count(), 1);
    main->Button("Btn_Lektionen_Start")->click();
    EXPECT_EQ(offered, 0x01u) << "a picture lesson has neither flags nor outlines";
    auto* view = dynamic_cast<TGeoLernen*>(main->LessonView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(main->Button("btn_Lernen_Tip")->isVisible());
    EXPECT_FALSE(main->Button("btn_Lernen_Aufloesen")->isVisible());
    auto& game = dynamic_cast<TGeoInputMemory&>(*view->InputPanel);
    ASSERT_EQ(game.Cards().size(), 24u);
    EXPECT_EQ(view->Result().Total, 12);

    // The tip button shows a pair.
    main->Button("btn_Lernen_Tip")->click();
    EXPECT_EQ(game.SelectedCards().size(), 2u);
    game.TipTimer()->stop();
    for (TMemoryPanel* card : game.Cards())
        card->SetState(TMemoryPanel::OnBoard);

    auto partner = [&game](TMemoryPanel* card) {
        for (TMemoryPanel* other : game.Cards())
            if (other != card && &other->Item == &card->Item)
                return other;
        return static_cast<TMemoryPanel*>(nullptr);
    };
    for (int wrong = 0; wrong < 3; ++wrong) {
        TMemoryPanel* a = game.Cards()[static_cast<size_t>(wrong)];
        TMemoryPanel* b = nullptr;
        for (TMemoryPanel* card : game.Cards())
            if (!b && &card->Item != &a->Item)
                b = card;
        QTest::mouseClick(a, Qt::LeftButton);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    EXPECT_EQ(view->Result().Total, 15);
    for (TMemoryPanel* card : game.Cards()) {
        if (!card->OnTheBoard())
            continue;
        QTest::mouseClick(card, Qt::LeftButton);
        QTest::mouseClick(partner(card), Qt::LeftButton);
    }
    EXPECT_EQ(view->Result().Correct, 12);
    EXPECT_EQ(view->Result().SuccessRate(), 80);
    // The game is over: the view closes on the next turn of the message loop.
    QTRY_VERIFY(main->LessonView() == nullptr);
    EXPECT_EQ(resultsShown, 1);
    EXPECT_EQ(main->CurrentPage(), "Lektionen");
    const QString line = IniFile(dir.filePath("Ergebnisse/1.dat")).ReadString("zwoelf.lek", "1");
    EXPECT_TRUE(line.contains(";12;3;80 %;")) << line.toStdString();
    EXPECT_TRUE(line.endsWith(";Memory")) << line.toStdString();
}

// A lesson whose countries have no capitals (and a picture map: no flags, no
// outlines) can make no pairs: the settings dialog does not offer the game.
TEST_F(MemoryRun, ALessonWithoutCapitalsDoesNotOfferTheGame)
{
    lesson("ohne.lek", "[Lektion]\nName=Ohne\nTyp=image\nKategorie=3\n[Allgemeines]\nLHDatei=1\n"
                       "[Kategorien]\n1=Länder\n[AKategorien]\n1=2\n[Kategorie1]\n1=Albanien?1&1\n2=Belgien?2&2\n");
    auto main = start();
    bool memoryOffered = true;
    Tfrm_main::StartHooks.LearningSettings = [&](TLernOptionen&, bool memory, int) {
        memoryOffered = memory;
        return false;
    };
    main->Button("Btn_Haupt_Lernen")->click();
    main->Lektionen().SetFilter(3);
    main->Button("Btn_Lektionen_Start")->click();
    EXPECT_FALSE(memoryOffered);
}

} // namespace
