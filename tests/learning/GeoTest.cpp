#include "learning/Geo.h"
#include "learning/GeoInput.h"
#include "lesson/LessonHooks.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "maps/GeoVisualImage.h"
#include "support/TestResponder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RecordingInput : public TGeoInput {
public:
    using TGeoInput::TGeoInput;
    std::vector<TGeoItem*> clicked;
    int started = 0;
    void Start() override { ++started; }
    void MapItemClicked(TGeoItem& item) override { clicked.push_back(&item); }
};

// A lesson view as the learning view will be: it makes its panel, opens the
// lesson and begins.
class TestView : public TGeo {
public:
    TestView(QWidget* page, const QString& path, std::unique_ptr<TLernOptionen> options, const QString& folder)
        : TGeo(page, path, std::move(options), folder)
    {
        Input = new RecordingInput(this, *Lesson);
        InputPanel = Input;
        PlaceInputPanel();
        opened = OpenLessonFile(path);
        Begin();
    }
    RecordingInput* Input;
    bool opened = false;
};

class GeoTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    QWidget page;

    QString lesson(const QByteArray& text)
    {
        QDir(dir.path()).mkpath("Lektionen");
        const QString path = dir.filePath("Lektionen/l.lek");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
    std::unique_ptr<TLernOptionen> options(int mode = 0, bool viewOnMap = false)
    {
        auto o = std::make_unique<TLernOptionen>();
        o->Mode = mode;
        o->ViewOnMap = viewOnMap;
        o->Hauptstaedte = true;
        return o;
    }
};

TEST_F(GeoTest, PictureTypesMakeAPictureMapWithNumbers)
{
    for (const char* text : {"[Lektion]\nTyp=iimage\n", "[Lektion]\nTyp=globe\n[Allgemeines]\nBitmap=x.gif\n"}) {
        TestView view(&page, lesson(text), options(), dir.path() + '/');
        EXPECT_TRUE(view.opened);
        EXPECT_NE(dynamic_cast<TGeoVisualImage*>(view.MapView), nullptr) << text;
        EXPECT_TRUE(view.Input->Numbered);
        EXPECT_EQ(view.Input->started, 1);
    }
}

TEST_F(GeoTest, TheMapTestAsksNoCapitals)
{
    TestView test(&page, lesson("[Lektion]\nTyp=image\n"), options(1, true), dir.path() + '/');
    EXPECT_FALSE(test.Options->Hauptstaedte);
    EXPECT_EQ(test.Lesson->LearnOptions.get(), test.Options);
    TestView typed(&page, lesson("[Lektion]\nTyp=image\n"), options(1, false), dir.path() + '/');
    EXPECT_TRUE(typed.Options->Hauptstaedte);
}

TEST_F(GeoTest, MissingFileSaysSoAndOpensNothing)
{
    TestView view(&page, dir.filePath("Lektionen/none.lek"), options(), dir.path() + '/');
    EXPECT_FALSE(view.opened);
    EXPECT_EQ(view.MapView, nullptr);
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(responder.messages[0].text.contains("none.lek"));
    EXPECT_TRUE(view.LessonPath.isEmpty());
}

TEST_F(GeoTest, ClicksOnDeactivatedItemsAreDropped)
{
    TestView view(&page, lesson("[Lektion]\nTyp=image\n[Kategorien]\n1=A\n[AKategorien]\n1=2\n[Kategorie1]\n1=xxxEins\n2=Zwei\n"),
                  options(), dir.path() + '/');
    TKategorie& category = *view.Lesson->Categories[0];
    view.MapView->OnItemClick(*category.Items[0]);
    view.MapView->OnItemClick(*category.Items[1]);
    EXPECT_EQ(view.Input->clicked, std::vector<TGeoItem*>{category.Items[1].get()});
}

TEST_F(GeoTest, ANewViewSilencesTheStateObserverOfTheLastAndDestructionIsReported)
{
    int heard = 0;
    LessonHooks::SetStateObserver([&](TGeoItem&) { ++heard; });
    auto* view = new TestView(&page, lesson("[Lektion]\nTyp=image\n[Kategorien]\n1=A\n[AKategorien]\n1=1\n[Kategorie1]\n1=Eins\n"),
                              options(), dir.path() + '/');
    view->Lesson->Categories[0]->Items[0]->SetState(ItemState::Right);
    EXPECT_EQ(heard, 0);
    TGeo* reported = nullptr;
    view->OnDestroyed = [&](TGeo* gone) { reported = gone; };
    EXPECT_TRUE(view->Close());
    EXPECT_EQ(reported, view);
}

} // namespace
