#include "i18n/MainDictionary.h"
#include "learning/GeoEdit.h"
#include "learning/GeoInputKK.h"
#include "learning/GeoLernen.h"
#include "lesson/LessonHooks.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "results/ChartBar.h"
#include "results/Ergebnis.h"
#include "support/TestResponder.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class LearningViewTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    QWidget page;
    std::unique_ptr<TOptionen> settings;
    int resultsShown = 0;

    LearningViewTest()
    {
        QDir(dir.path()).mkpath("Lektionen");
        QDir(dir.path()).mkpath("Ergebnisse");
        settings = std::make_unique<TOptionen>(dir.path() + '/', std::make_unique<IniFile>(dir.filePath("geo.ini")));
        settings->UserNumber = 3;
        QFile f(dir.filePath("Lektionen/fluesse.lek"));
        f.open(QIODevice::WriteOnly);
        f.write("[Lektion]\nTyp=iimage\n[Kategorien]\n1=Flüsse\n[AKategorien]\n1=4\n"
                "[Kategorie1]\n1=Rhein~Rhine\n2=Elbe\n3=Donau~Danube\n4=xxxMain\n");
        TGeoLernen::ResultWindow = [this](TGeoLernen&, const TErgebnis&) { ++resultsShown; };
        page.resize(700, 500);
        new QVBoxLayout(&page);
        page.show();
        page.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&page));
    }
    ~LearningViewTest() override { TGeoLernen::ResultWindow = nullptr; }

    TGeoLernen* open()
    {
        auto options = std::make_unique<TLernOptionen>();
        options->Options = settings.get();
        return new TGeoLernen(&page, dir.filePath("Lektionen/fluesse.lek"), std::move(options), dir.path() + '/');
    }
    TGeoInputKK& input(TGeoLernen& view) { return dynamic_cast<TGeoInputKK&>(*view.InputPanel); }
};

TEST_F(LearningViewTest, StatusLineCountsWhileTheLearnerTypes)
{
    TGeoLernen* view = open();
    ASSERT_TRUE(view->Opened());
    EXPECT_EQ(view->CountField(0)->text(), "Insg.: 3");
    EXPECT_EQ(view->CountField(1)->text(), "Richtig: 0");
    EXPECT_EQ(view->ProgressBar()->Percent(), 0);
    QTest::keyClicks(input(*view).Fields()[0], "rhine");
    EXPECT_EQ(view->CountField(1)->text(), "Richtig: 1");
    EXPECT_EQ(view->CountField(2)->text(), QString::fromUtf8("Ungelöst: 2"));
    EXPECT_EQ(view->ProgressBar()->Percent(), 33);
    delete view;
}

// The count fields keep one width while counting and fit a four-digit count
// in every language.
TEST_F(LearningViewTest, CountFieldsFitFourDigitsInEveryLanguage)
{
    for (int language = 1; language <= 3; ++language) {
        MainDictionary().SetActLang(language);
        TGeoLernen* view = open();
        ASSERT_TRUE(view->Opened());
        for (int i = 0; i < 3; ++i) {
            QLabel* field = view->CountField(i);
            const QString widest = field->text().section(u' ', 0, -2) + QStringLiteral(" 9999");
            SCOPED_TRACE(widest.toStdString());
            EXPECT_GE(field->width(), 90);
            EXPECT_GE(field->contentsRect().width() - field->indent(), field->fontMetrics().horizontalAdvance(widest));
        }
        const int width = view->CountField(2)->width();
        QTest::keyClicks(input(*view).Fields()[0], "rhine");
        EXPECT_EQ(view->CountField(2)->width(), width) << "no jump while counting";
        delete view;
    }
    MainDictionary().SetActLang(1);
}

TEST_F(LearningViewTest, ClosingWithARightAnswerShowsAndStoresTheResult)
{
    TGeoLernen* view = open();
    bool destroyed = false;
    view->OnDestroyed = [&](TGeo*) { destroyed = true; };
    QTest::keyClicks(input(*view).Fields()[1], "Elbe");
    EXPECT_TRUE(view->Close());
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(resultsShown, 1);
    IniFile results(dir.filePath("Ergebnisse/3.dat"));
    const QString line = results.ReadString("fluesse.lek", "1");
    EXPECT_TRUE(line.contains(";1;2;33 %;")) << line.toStdString();
    EXPECT_TRUE(line.endsWith(";Kurzkontrolle"));
}

TEST_F(LearningViewTest, ClosingWithoutARightAnswerLeavesNoTrace)
{
    TGeoLernen* view = open();
    EXPECT_TRUE(view->Close());
    EXPECT_EQ(resultsShown, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("Ergebnisse/3.dat")));
}

TEST_F(LearningViewTest, AResultThatCannotBeStoredKeepsTheRunOpen)
{
    QDir(dir.filePath("Ergebnisse")).removeRecursively();
    TGeoLernen* view = open();
    QTest::keyClicks(input(*view).Fields()[1], "Elbe");
    EXPECT_FALSE(view->Close());
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(responder.messages[0].text.startsWith("Unable to write to"));
    QDir(dir.path()).mkpath("Ergebnisse");
    EXPECT_TRUE(view->Close()) << "closing again works once the folder is back";
    EXPECT_TRUE(QFile::exists(dir.filePath("Ergebnisse/3.dat")));
}

TEST_F(LearningViewTest, AMissingLessonOpensNothing)
{
    auto options = std::make_unique<TLernOptionen>();
    TGeoLernen view(&page, dir.filePath("Lektionen/none.lek"), std::move(options), dir.path() + '/');
    EXPECT_FALSE(view.Opened());
    EXPECT_EQ(responder.messages.size(), 1u);
}

} // namespace
