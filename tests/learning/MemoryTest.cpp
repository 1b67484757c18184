#include "learning/Flags.h"
#include "learning/GeoInputMemory.h"
#include "learning/GeoLernen.h"
#include "learning/MemoryPanel.h"
#include "learning/Trainingsarten.h"
#include "lesson/GeoIndex.h"
#include "lesson/LessonHooks.h"
#include "lesson/MemoryPairings.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "maps/GeoVisual.h"
#include "platform/IniFile.h"
#include "platform/Messages.h"
#include "platform/Optionen.h"
#include "results/Ergebnis.h"
#include "support/TestResponder.h"
#include "widgets/FlatButton.h"
#include "widgets/RadioGroup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <set>

namespace {

// Counts the end-of-session messages the game posts when it is over.
class EndOfSessionCounter : public QObject {
public:
    EndOfSessionCounter() { qApp->installEventFilter(this); }
    ~EndOfSessionCounter() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == kEndOfSessionMessage) {
            ++count;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Memory runs in real learning views on a program folder that holds the
// shipped lessons and globe data.
class MemoryGame : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    QWidget page;
    std::unique_ptr<TOptionen> settings;
    EndOfSessionCounter finished;

    MemoryGame()
    {
        for (const char* folder : {"Lektionen", "Data"}) {
            QDir(dir.path()).mkpath(folder);
            for (QDirIterator it(QStringLiteral(ORBILO_DATA_DIR "/") + folder, QDir::Files); it.hasNext();) {
                const QString file = it.next();
                QFile::copy(file, dir.filePath(QString(folder) + "/" + QFileInfo(file).fileName()));
            }
        }
        QDir(dir.path()).mkpath("Ergebnisse");
        settings = std::make_unique<TOptionen>(folder(), std::make_unique<IniFile>(dir.filePath("geo.ini")));
        settings->UserNumber = 1;
        TGeoLernen::ResultWindow = [](TGeoLernen&, const TErgebnis&) {};
        TMemoryPanel::TurnMs = 0;
        TGeoInputMemory::JudgeDelayMs = 0;
        TGeoInputMemory::DealStepMs = 0;
        TGeoInput::RandomSeed = [] { return 11u; };
        page.resize(900, 650);
        new QVBoxLayout(&page);
        page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    ~MemoryGame() override
    {
        TGeoLernen::ResultWindow = nullptr;
        TMemoryPanel::TurnMs = 180;
        TGeoInputMemory::JudgeDelayMs = 200;
        TGeoInputMemory::DealStepMs = 12;
        TGeoInput::RandomSeed = nullptr;
    }

    QString folder() const { return dir.path() + '/'; }
    void writeLesson(const QString& name, const QByteArray& text)
    {
        QFile f(dir.filePath("Lektionen/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    std::unique_ptr<TGeoLernen> open(const QString& lesson, int pairing)
    {
        auto options = std::make_unique<TLernOptionen>();
        options->Options = settings.get();
        options->Mode = 3;
        options->MemoryPairing = pairing;
        options->Hauptstaedte = false; // the game decides
        auto view = std::make_unique<TGeoLernen>(&page, dir.filePath("Lektionen/" + lesson), std::move(options), folder());
        QCoreApplication::processEvents();
        return view;
    }
    static TGeoInputMemory& game(TGeoLernen& view) { return dynamic_cast<TGeoInputMemory&>(*view.InputPanel); }
    static TMemoryPanel* partnerOf(TGeoInputMemory& input, const TMemoryPanel* card)
    {
        for (TMemoryPanel* other : input.Cards())
            if (other != card && &other->Item == &card->Item)
                return other;
        return nullptr;
    }
    static TMemoryPanel* otherItem(TGeoInputMemory& input, const TMemoryPanel* card)
    {
        for (TMemoryPanel* other : input.Cards())
            if (&other->Item != &card->Item && other->OnTheBoard())
                return other;
        return nullptr;
    }
    static void click(TMemoryPanel* card) { QTest::mouseClick(card, Qt::LeftButton, {}, card->rect().center()); }
    // Countries and states of the lesson a pairing can use.
    static int pairsIn(TGeoLernen& view, bool capital, bool flag)
    {
        int n = 0;
        for (const auto& category : view.Lesson->Categories)
            if (category->Kind == CategoryKind::Countries || category->Kind == CategoryKind::States)
                for (const auto& item : category->Items)
                    if (item->State() == ItemState::Open && (!capital || item->Capital) && (!flag || !item->FlagData.isEmpty()))
                        ++n;
        return n;
    }
};

// Every pairing deals one card of each of its two kinds per country, in the
// order of the board: names alphabetically, pictures shuffled between them.
TEST_F(MemoryGame, EachPairingDealsItsTwoKindsPerCountry)
{
    struct Case {
        int pairing;
        bool capital, flag, outline;
        int height;
    } cases[] = {
        {0, true, false, false, 35}, {1, false, true, false, 70}, {2, false, false, true, 100},
        {3, true, false, true, 100}, {4, false, true, true, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pairing);
        auto view = open("Europa_Laender.lek", c.pairing);
        ASSERT_TRUE(view->Opened());
        TGeoInputMemory& input = game(*view);
        EXPECT_FALSE(view->MapView->isVisible()) << "the game takes the whole view";
        EXPECT_GT(input.width(), 800);
        const int pairs = pairsIn(*view, c.capital, c.flag);
        ASSERT_GT(pairs, 10);
        ASSERT_EQ(input.Cards().size(), size_t(2 * pairs));
        EXPECT_EQ(view->Result().Total, pairs);
        EXPECT_EQ(view->Result().Correct, 0);
        EXPECT_EQ(input.CardHeight, c.height);
        std::set<const TGeoItem*> items;
        int flags = 0, outlines = 0, names = 0;
        for (size_t i = 0; i < input.Cards().size(); ++i) {
            const TMemoryPanel* card = input.Cards()[i];
            items.insert(&card->Item);
            flags += card->IsFlag();
            outlines += card->IsOutline();
            names += !card->Caption.isEmpty();
            EXPECT_NE(partnerOf(input, card), nullptr);
            EXPECT_TRUE(card->isVisible());
            if (c.flag || c.outline) {
                // Picture and name (or outline and flag) take turns.
                const bool second = i % 2 == 1;
                EXPECT_EQ(card->IsFlag() || (card->IsOutline() && !c.flag), second) << i;
            }
            if (card->IsFlag()) {
                EXPECT_FALSE(card->Item.FlagData.isEmpty());
            }
            if (c.capital && !card->Caption.isEmpty() && !card->IsOutline()) {
                const bool countryName = card->Caption == card->Item.DisplayName();
                EXPECT_TRUE(countryName || card->Caption == card->Item.Capital->DisplayName());
            }
        }
        EXPECT_EQ(int(items.size()), pairs) << "one pair per country";
        EXPECT_EQ(flags, c.flag ? pairs : 0);
        EXPECT_EQ(outlines, c.outline ? pairs : 0);
        EXPECT_EQ(names, (c.capital ? pairs : 0) + (c.pairing <= 2 ? pairs : 0));
        EXPECT_EQ(view->Options->Hauptstaedte, c.capital) << "capitals are loaded only where cards show them";
    }
}

TEST_F(MemoryGame, NamesAreSortedWithUmlautsAmongTheirLetters)
{
    auto view = open("Europa_Laender.lek", 0);
    TGeoInputMemory& input = game(*view);
    QStringList captions;
    for (const TMemoryPanel* card : input.Cards())
        captions << card->Caption;
    const qsizetype austria = captions.indexOf(QString::fromUtf8("Österreich"));
    ASSERT_GE(austria, 1);
    ASSERT_LT(austria, captions.size() - 1);
    EXPECT_LE(captions[austria - 1], QString("Osterreich")) << captions[austria - 1].toStdString();
    EXPECT_GE(captions[austria + 1], QString("Osterreich")) << captions[austria + 1].toStdString();
    for (qsizetype i = 1; i < captions.size(); ++i) {
        auto key = [](QString s) {
            const QString from = QString::fromUtf8("ÜÄÖüäöß"), to = "UAOuaos";
            if (const qsizetype k = from.indexOf(s[0]); k >= 0)
                s[0] = to[k];
            return s;
        };
        EXPECT_LE(key(captions[i - 1]), key(captions[i])) << captions[i].toStdString();
    }
    // A country and its capital lie among the others, not side by side by rule.
    EXPECT_TRUE(captions.contains("Berlin"));
    EXPECT_TRUE(captions.contains("Deutschland"));
}

TEST_F(MemoryGame, APairDisappearsAndAWrongPairCounts)
{
    auto view = open("Europa_Laender.lek", 0);
    TGeoInputMemory& input = game(*view);
    const int pairs = view->Result().Total;
    TMemoryPanel* first = input.Cards()[0];
    TMemoryPanel* partner = partnerOf(input, first);
    TMemoryPanel* stranger = otherItem(input, first);

    // Selecting and pressing again takes the card back without counting.
    click(first);
    EXPECT_EQ(first->State(), TMemoryPanel::Selected);
    click(first);
    EXPECT_EQ(first->State(), TMemoryPanel::OnBoard);
    EXPECT_EQ(view->Result().Total, pairs);

    // Two that do not belong together: one more attempt, the first card's
    // country is wrong, both lie on the board again.
    click(first);
    click(stranger);
    EXPECT_EQ(view->Result().Total, pairs + 1);
    EXPECT_EQ(view->Result().Correct, 0);
    EXPECT_EQ(first->Item.State(), ItemState::Wrong);
    EXPECT_EQ(first->State(), TMemoryPanel::OnBoard);
    EXPECT_EQ(stranger->State(), TMemoryPanel::OnBoard);
    EXPECT_EQ(view->CountField(0)->text(), QString("Insg.: %1").arg(pairs + 1));

    // The pair: both cards go, the country is right, the status line counts it.
    click(first);
    click(partner);
    EXPECT_EQ(first->State(), TMemoryPanel::Removed);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(partner->isVisible());
    EXPECT_EQ(first->Item.State(), ItemState::Right);
    EXPECT_EQ(view->Result().Correct, 1);
    EXPECT_EQ(view->CountField(1)->text(), "Richtig: 1");
    EXPECT_EQ(input.CardsOnBoard(), 2 * pairs - 2);

    // A found card cannot be pressed again, and the tip never shows it.
    click(first);
    EXPECT_EQ(first->State(), TMemoryPanel::Removed);
    EXPECT_EQ(finished.count, 0);
}

TEST_F(MemoryGame, TheTipShowsOnePairAndPressingAnotherCardCountsAsWrong)
{
    auto view = open("Europa_Laender.lek", 1);
    TGeoInputMemory& input = game(*view);
    const int pairs = view->Result().Total;
    input.Tip();
    std::vector<TMemoryPanel*> shown;
    for (TMemoryPanel* card : input.Cards())
        if (card->State() == TMemoryPanel::Shown)
            shown.push_back(card);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(&shown[0]->Item, &shown[1]->Item);
    EXPECT_TRUE(input.TipTimer()->isActive());
    EXPECT_EQ(input.TipTimer()->interval(), 700);

    click(otherItem(input, shown[0]));
    EXPECT_EQ(view->Result().Total, pairs + 1) << "the tip cards are part of the selection";
    for (const TMemoryPanel* card : input.Cards())
        EXPECT_EQ(card->State(), TMemoryPanel::OnBoard);

    // The tip's time runs out: every card lies on the board again.
    input.Tip();
    QTRY_VERIFY_WITH_TIMEOUT(input.SelectedCards().empty(), 2000);
    EXPECT_EQ(view->Result().Total, pairs + 1) << "a tip alone counts nothing";
}

TEST_F(MemoryGame, AfterAPairIsFoundAResizeClosesTheGap)
{
    auto view = open("Europa_Laender.lek", 0);
    TGeoInputMemory& input = game(*view);
    TMemoryPanel* first = input.Cards()[0];
    const QPoint firstPlace = first->pos();
    click(first);
    click(partnerOf(input, first));
    const QPoint secondPlace = input.Cards()[1]->pos();
    EXPECT_NE(secondPlace, firstPlace) << "the cards keep their places while the window stays";
    page.resize(page.width() - 40, page.height());
    QCoreApplication::processEvents();
    TMemoryPanel* firstLeft = nullptr;
    for (TMemoryPanel* card : input.Cards())
        if (card->OnTheBoard()) {
            firstLeft = card;
            break;
        }
    ASSERT_NE(firstLeft, nullptr);
    EXPECT_EQ(firstLeft->pos(), QPoint(5, 5));
    EXPECT_EQ(input.verticalScrollBar()->value(), 0);
}

// Few pairs in a large window grow; many scroll at their base size, never sideways.
TEST_F(MemoryGame, TheBoardFitsTheWindowAndTheNumberOfPairs)
{
    writeLesson("drei.lek", "[Lektion]\nTyp=image\n[Allgemeines]\nLHDatei=1\n[Kategorien]\n1=Länder\n[AKategorien]\n1=3\n"
                            "[Kategorie1]\n1=Albanien?1&1?Tirana\n2=Belgien?2&2?Brüssel\n3=Chile?3&3?Santiago\n");
    auto few = open("drei.lek", 0);
    TGeoInputMemory& small = game(*few);
    ASSERT_EQ(small.Cards().size(), 6u);
    EXPECT_DOUBLE_EQ(small.Scale(), TGeoInputMemory::kMaxScale);
    EXPECT_EQ(small.Cards()[0]->height(), 56);
    EXPECT_GE(small.Cards()[0]->width(), 240);
    few.reset();

    auto many = open("Welt_Laender.lek", 0);
    TGeoInputMemory& large = game(*many);
    ASSERT_GT(large.Cards().size(), 200u);
    EXPECT_DOUBLE_EQ(large.Scale(), 1.0);
    EXPECT_EQ(large.Cards()[0]->height(), 35);
    EXPECT_GE(large.Cards()[0]->width(), 150);
    EXPECT_TRUE(large.verticalScrollBar()->isVisible());
    // A row holds as many cards as fit, five in 900 pixels, and they share
    // its width; the sixth opens the next row. No card hides behind the bar.
    const int viewport = large.viewport()->width();
    const QRect fifth = large.Cards()[4]->geometry();
    EXPECT_EQ(large.Cards()[5]->pos(), QPoint(5, 5 + 35 + 5));
    EXPECT_LE(fifth.right(), viewport - 5);
    EXPECT_GE(fifth.right(), viewport - 5 - 5) << "the row fills the board";
}

TEST_F(MemoryGame, TheKeyboardMovesAndTurns)
{
    auto view = open("Europa_Laender.lek", 0);
    TGeoInputMemory& input = game(*view);
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    TMemoryPanel* first = input.Cards()[0];
    EXPECT_TRUE(first->hasFocus()) << "the first card takes the keys once dealt";
    QTest::keyClick(first, Qt::Key_Right);
    EXPECT_TRUE(input.Cards()[1]->hasFocus());
    QTest::keyClick(input.Cards()[1], Qt::Key_Down);
    TMemoryPanel* below = dynamic_cast<TMemoryPanel*>(QApplication::focusWidget());
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->x(), input.Cards()[1]->x());
    EXPECT_GT(below->y(), input.Cards()[1]->y());
    QTest::keyClick(below, Qt::Key_Up);
    EXPECT_TRUE(input.Cards()[1]->hasFocus());
    QTest::keyClick(input.Cards()[1], Qt::Key_Left);
    EXPECT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Left);
    EXPECT_TRUE(first->hasFocus()) << "the first card has nothing before it";

    // Space turns the focused card, Enter its partner: the pair is found and
    // the focus goes on to the next card on the board.
    QTest::keyClick(first, Qt::Key_Space);
    EXPECT_EQ(first->State(), TMemoryPanel::Selected);
    TMemoryPanel* partner = partnerOf(input, first);
    partner->setFocus();
    QTest::keyClick(partner, Qt::Key_Return);
    EXPECT_FALSE(first->OnTheBoard());
    const auto* focused = dynamic_cast<TMemoryPanel*>(QApplication::focusWidget());
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused->OnTheBoard());
    // The focus frame shows while the learner uses the keys.
    const QImage framed = const_cast<TMemoryPanel*>(focused)->grab().toImage();
    bool frame = false;
    for (int x = 1; x <= 5; ++x)
        frame = frame || QColor(framed.pixel(x, framed.height() / 2)) == QColor(0x1F, 0x4E, 0x9E);
    EXPECT_TRUE(frame);
}

// The card turns over (narrowing to its edge and opening with the new face)
// and the pair is judged only after the learner saw the second card.
TEST_F(MemoryGame, CardsTurnAndThePairIsJudgedAfterAMoment)
{
    TMemoryPanel::TurnMs = 180;
    TGeoInputMemory::JudgeDelayMs = 200;
    auto view = open("Europa_Laender.lek", 0);
    TGeoInputMemory& input = game(*view);
    TMemoryPanel* first = input.Cards()[0];
    const QImage before = first->grab().toImage();
    click(first);
    EXPECT_EQ(first->State(), TMemoryPanel::Selected);
    EXPECT_TRUE(first->Turning());
    first->SetTurnProgress(0.45);
    const QImage edgeOn = first->grab().toImage();
    // Nearly edge-on, the card is a narrow strip in the middle of its place.
    EXPECT_EQ(QColor(edgeOn.pixel(10, edgeOn.height() / 2)), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_NE(QColor(edgeOn.pixel(edgeOn.width() / 2, edgeOn.height() / 2)), QColor(0xEE, 0xEE, 0xEE));
    QTRY_VERIFY_WITH_TIMEOUT(!first->Turning(), 2000);
    const QImage after = first->grab().toImage();
    EXPECT_NE(before, after);
    EXPECT_EQ(QColor(after.pixel(after.width() / 2, after.height() - 8)), QColor(0xFF, 0xFF, 0x8C)) << "light yellow";

    click(partnerOf(input, first));
    EXPECT_TRUE(input.Judging());
    TMemoryPanel* third = otherItem(input, first);
    click(third); // ignored while the pair is judged
    EXPECT_EQ(third->State(), TMemoryPanel::OnBoard);
    EXPECT_EQ(view->Result().Correct, 0);
    QTRY_COMPARE_WITH_TIMEOUT(view->Result().Correct, 1, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(!first->isVisible(), 2000);
}

TEST_F(MemoryGame, ALessonWithoutFlagsOrPairsEndsAtOnceWithAWord)
{
    writeLesson("ohne.lek", "[Lektion]\nTyp=image\n[Allgemeines]\nLHDatei=1\n[Kategorien]\n1=Länder\n[AKategorien]\n1=2\n"
                            "[Kategorie1]\n1=Albanien?1&1\n2=Belgien?2&2?Brüssel\n");
    auto flags = open("ohne.lek", 1);
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, QString::fromUtf8("Für diese Lektion stehen leider keine Flaggen zur Verfügung."));
    EXPECT_EQ(finished.count, 1);
    EXPECT_TRUE(game(*flags).Cards().empty());
    flags.reset();

    // Country and capital: only Belgium has one.
    auto capitals = open("ohne.lek", 0);
    EXPECT_EQ(game(*capitals).Cards().size(), 2u);
    EXPECT_EQ(capitals->Result().Total, 1);
    capitals.reset();

    // Outlines on a picture map: the map draws none, so there are no pairs.
    auto outlines = open("ohne.lek", 2);
    ASSERT_EQ(responder.messages.size(), 2u);
    EXPECT_TRUE(responder.messages[1].text.contains("keine Paare"));
    EXPECT_EQ(finished.count, 2);
    EXPECT_TRUE(game(*outlines).Cards().empty());
}

// Which pairings a lesson can deal, as the settings dialog offers them.
TEST(MemoryPairings, APairingIsOfferedOnlyWhereTheLessonHasItsCards)
{
    // Land 1 has capital, flag and outline; 2 a capital only and no place on
    // the globe; 3 a flag only; 4 is not in the index.
    const TGeoIndex index = TGeoIndex::fromText(
        "[Land]\n1=Eins~One~~10-0-0-500~~100\n2=Zwei~Two~~11-0-0-500~~null\n3=Drei~Three~~-0-0-500~~300\n"
        "[Stadt]\n10=Hauptstadt Eins~~~~~5\n11=Hauptstadt Zwei~~~~~6\n"
        "[Flaggen]\n1=c,clRed;r,0,0,100,100\n3=c,clBlue;r,0,0,100,100\n");
    QTemporaryDir dir;
    auto available = [&](const QByteArray& text) {
        QFile f(dir.filePath("l.lek"));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        f.close();
        return MemoryPairings::Available(IniFile(dir.filePath("l.lek")), index);
    };
    struct Case {
        const char* lesson;
        unsigned pairings;
    } cases[] = {
        {"[L]\n1=1\n", 0x1F},
        {"[L]\n1=2\n", 0x01},                 // a capital, but neither flag nor outline
        {"[L]\n1=3\n", 0x02 | 0x04 | 0x10},   // flag and outline, no capital
        {"[L]\n1=xxx1\n2=xxxx1\n", 0},        // switched off, shown only
        {"[L]\n1=4\n", 0},                    // no record: no name
        {"[L]\n1=1\n[C]\n1=xxx10\n", 0x1F & ~0x01 & ~0x08}, // the capital is a term of its own
        {"[T]\n1=1\n", 0},                    // states are read from [Staat]
        {"[Lektion]\nTyp=image\n[Allgemeines]\nLHDatei=1\n[Kategorien]\n1=Länder\n[AKategorien]\n1=1\n"
         "[Kategorie1]\n1=Albanien?1&1?Tirana\n", 0x01},
        {"[Lektion]\nTyp=image\n[Kategorien]\n1=Flüsse\n[AKategorien]\n1=1\n[Kategorie1]\n1=Rhein??Bonn\n", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(available(c.lesson), c.pairings) << c.lesson;
}

TEST(MemoryPairings, TheSettingsDialogOffersOnlyThePairingsTheLessonCanDeal)
{
    TestResponder responder;
    Tfrm_training dialog;
    responder.onDialog = [&dialog](QDialog&) {
        dialog.ModeButton(3)->click();
        EXPECT_FALSE(dialog.Auswahl_Memory()->ItemEnabled(0));
        EXPECT_TRUE(dialog.Auswahl_Memory()->ItemEnabled(1));
        EXPECT_FALSE(dialog.Auswahl_Memory()->ItemEnabled(3));
        EXPECT_EQ(dialog.Auswahl_Memory()->ItemIndex(), 1) << "the first pairing the lesson can deal";
        return int(QDialog::Accepted);
    };
    TLernOptionen options;
    options.MemoryPairings = 0x02 | 0x04 | 0x10;
    ASSERT_TRUE(dialog.Execute(options, true, 3));
    EXPECT_EQ(options.Mode, 3);
    EXPECT_EQ(options.MemoryPairing, 1);
    // A language switch keeps what cannot be chosen.
    dialog.lang.SetActLang(1);
    EXPECT_FALSE(dialog.Auswahl_Memory()->ItemEnabled(0));
    EXPECT_FALSE(dialog.Auswahl_Memory()->findChildren<QRadioButton*>().value(0)->isEnabled());
    // The next lesson starts afresh.
    options.MemoryPairings = MemoryPairings::kAll;
    responder.onDialog = [&dialog](QDialog&) {
        EXPECT_TRUE(dialog.Auswahl_Memory()->ItemEnabled(0));
        EXPECT_EQ(dialog.Auswahl_Memory()->ItemIndex(), 0);
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(dialog.Execute(options, true, 1));
}

} // namespace
