#include "globe/GlobeObjects.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeView.h"
#include "globe/GlobeLayerStore.h"
#include "learning/GeoInput.h"
#include "learning/GeoInputAbfrage.h"
#include "learning/GeoLernen.h"
#include "globe/GlobeLayer.h"
#include "lesson/LessonHeader.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "maps/GeoVisualGlobe.h"
#include "maps/GlobeLessonLink.h"
#include "platform/IniFile.h"
#include "platform/Optionen.h"
#include "support/GlobePixel.h"
#include "support/TestResponder.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A shipped globe lesson in a learning view, as the learner sees it. With
// ORBILO_SHOT_DIR set the pictures are kept there for looking at.
class GlobeLessonView : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    QWidget page;
    std::unique_ptr<TOptionen> settings;

    GlobeLessonView()
    {
        QDir(dir.path()).mkpath("Ergebnisse");
        settings = std::make_unique<TOptionen>(dir.path() + '/', std::make_unique<IniFile>(dir.filePath("geo.ini")));
        TGeoLernen::ResultWindow = [](TGeoLernen&, const TErgebnis&) {};
        page.resize(1000, 700);
        new QVBoxLayout(&page);
        page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    ~GlobeLessonView() override { TGeoLernen::ResultWindow = nullptr; }

    std::unique_ptr<TGeoLernen> open(const QString& lesson, bool onMap)
    {
        auto options = std::make_unique<TLernOptionen>();
        options->Options = settings.get();
        options->Mode = 1;
        options->ViewOnMap = onMap;
        options->Hauptstaedte = true;
        auto view = std::make_unique<TGeoLernen>(&page, QStringLiteral(ORBILO_DATA_DIR "/Lektionen/") + lesson,
                                                 std::move(options), QStringLiteral(ORBILO_DATA_DIR "/"));
        QCoreApplication::processEvents();
        return view;
    }
    QImage shot(QWidget& widget, const QString& name)
    {
        QCoreApplication::processEvents();
        const QImage image = widget.grab().toImage();
        if (const QByteArray out = qgetenv("ORBILO_SHOT_DIR"); !out.isEmpty())
            image.save(QString::fromLocal8Bit(out) + '/' + name);
        return image;
    }
};

TEST_F(GlobeLessonView, TypedTestShowsTheAskedCountryAndTheSolvedOnes)
{
    // A fixed question order: a tiny country asked first would leave too few
    // pixels to count.
    TGeoInput::RandomSeed = [] { return 7u; };
    auto view = open("Europa_Laender.lek", false);
    TGeoInput::RandomSeed = nullptr;
    ASSERT_TRUE(view->Opened());
    auto* map = dynamic_cast<TGeoVisualGlobe*>(view->MapView);
    ASSERT_NE(map, nullptr);
    TGeoItem* asked = view->InputPanel->CurrentItem;
    ASSERT_NE(asked, nullptr);
    EXPECT_GT(map->Globe->width(), 400) << "the globe fills the map";
    shot(*view, "globe_asked.png");

    // Solve a few countries that are not asked now, with their capitals.
    TKategorie& countries = *view->Lesson->Categories[0];
    std::vector<TGeoItem*> solved;
    for (const auto& item : countries.Items) {
        if (item.get() == asked || !item->GeoObject || !item->Capital || item->Area < 100000 || solved.size() == 4)
            continue;
        item->SetState(ItemState::Right);
        item->Capital->SetState(ItemState::Right);
        solved.push_back(item.get());
    }
    shot(*view, "globe_solved.png");
    const QImage globe = map->Globe->grab().toImage();
    for (TGeoItem* item : solved)
        EXPECT_EQ(TGlobeLessonLink::ObjectOf(*item)->PresenterID(), PresenterIds::Solved);
    EXPECT_TRUE(TGlobeLessonLink::ObjectOf(*asked)->Selected());
    int yellow = 0, green = 0;
    for (int y = 0; y < globe.height(); ++y)
        for (int x = 0; x < globe.width(); ++x) {
            yellow += (globe.pixel(x, y) & 0xFFFFFF) == 0xFFFF00;
            green += (globe.pixel(x, y) & 0xFFFFFF) == 0xD7FFD7;
        }
    EXPECT_GT(yellow, 50) << "the asked country is drawn in the selection colour";
    EXPECT_GT(green, 500) << "solved countries are drawn in the solved colour";

    // A tiny country shows its close-up and the marker.
    TGeoItem* tiny = nullptr;
    for (const auto& item : countries.Items)
        if (item->InsetPicture && item->Area >= 1 && item->Area <= 2499)
            tiny = item.get();
    ASSERT_NE(tiny, nullptr);
    map->HighlightItem(tiny, false);
    shot(*view, "globe_inset.png");
    EXPECT_TRUE(map->InsetPanel->isVisible());
    EXPECT_NE(map->MarkerObject, nullptr);
}

// Moving the globe does not take the keyboard from the answer field; a plain
// click on it lets its arrow and +/- keys work.
TEST_F(GlobeLessonView, TypingGoesOnAfterTheGlobeWasMoved)
{
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    auto view = open("Europa_Laender.lek", false);
    ASSERT_TRUE(view->Opened());
    auto* globe = dynamic_cast<TGeoVisualGlobe&>(*view->MapView).Globe;
    auto* answer = dynamic_cast<TGeoInputAbfrageEdit&>(*view->InputPanel).AnswerField();
    answer->setFocus();
    const QPoint centre(globe->width() / 2, globe->height() / 2);

    // A drag.
    QTest::mousePress(globe, Qt::LeftButton, {}, centre);
    for (int step = 1; step <= 5; ++step) {
        QMouseEvent move(QEvent::MouseMove, centre + QPoint(10 * step, 4 * step), globe->mapToGlobal(centre + QPoint(10 * step, 4 * step)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(globe, &move);
    }
    QTest::mouseRelease(globe, Qt::LeftButton, {}, centre + QPoint(50, 20));
    QCoreApplication::processEvents();
    EXPECT_TRUE(answer->hasFocus()) << "after a drag";
    QTest::keyClicks(QApplication::focusWidget(), "Fra");
    EXPECT_EQ(answer->text(), "Fra");

    // A wheel turn, after the globe had the focus.
    globe->setFocus();
    QWheelEvent wheel(QPointF(centre), globe->mapToGlobal(QPointF(centre)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(globe, &wheel);
    QCoreApplication::processEvents();
    EXPECT_TRUE(answer->hasFocus()) << "after a wheel zoom";

    // A plain click keeps the keyboard on the globe.
    QTest::mouseClick(globe, Qt::LeftButton, {}, centre);
    QCoreApplication::processEvents();
    EXPECT_TRUE(globe->hasFocus());
}

TEST_F(GlobeLessonView, MapTestTakesAClickOnTheAskedItem)
{
    // A fixed question order: the first question is a country of fair size.
    TGeoInputAbfrage::RandomSeed = [] { return 7u; };
    auto view = open("Europa_Laender.lek", true);
    TGeoInputAbfrage::RandomSeed = nullptr;
    ASSERT_TRUE(view->Opened());
    auto* map = dynamic_cast<TGeoVisualGlobe*>(view->MapView);
    ASSERT_NE(map, nullptr);
    TGeoItem* asked = view->InputPanel->CurrentItem;
    ASSERT_NE(asked, nullptr);
    TGeoItem* target = asked->CapitalOf ? asked->CapitalOf : asked;
    TGlobeObject* object = TGlobeLessonLink::ObjectOf(*target);
    ASSERT_NE(object, nullptr);
    TGlobeView& globe = *map->Globe;
    const QPoint p = GlobePixelOf(globe, object);
    ASSERT_GE(p.x(), 0) << target->DisplayName().toStdString() << " is nowhere to click";
    globe.MouseDown(mzbLeft, 0, p.x(), p.y());
    globe.MouseUp(mzbLeft, 0, p.x(), p.y());
    EXPECT_EQ(asked->State(), ItemState::Right);
    shot(*view, "globe_maptest.png");
}

// Every shipped globe lesson shows the land of the world beneath its items,
// and the asked item stands out: in the selection colour on the globe, or,
// when it is too small for that, with its close-up or the marker.
TEST_F(GlobeLessonView, EveryShippedGlobeLessonShowsLandAroundTheAskedItem)
{
    const QRgb yellow = qRgb(0xFF, 0xFF, 0x00), brightBlue = qRgb(0x46, 0x46, 0xFF);
    int lessons = 0;
    for (const QString& file : QDir(QStringLiteral(ORBILO_DATA_DIR "/Lektionen")).entryList({QStringLiteral("*.lek")})) {
        if (LessonFile::IsPictureType(LessonFile::LessonType(IniFile(QStringLiteral(ORBILO_DATA_DIR "/Lektionen/") + file))))
            continue;
        SCOPED_TRACE(file.toStdString());
        ++lessons;
        TGeoInput::RandomSeed = [] { return 3u; };
        auto view = open(file, false);
        TGeoInput::RandomSeed = nullptr;
        ASSERT_TRUE(view->Opened());
        auto* map = dynamic_cast<TGeoVisualGlobe*>(view->MapView);
        ASSERT_NE(map, nullptr);
        TGeoItem* asked = view->InputPanel->CurrentItem;
        ASSERT_NE(asked, nullptr);
        TGlobeView& globe = *map->Globe;
        TGlobeLayer* base = map->Link().BaseLand();
        ASSERT_NE(base, nullptr);
        EXPECT_GT(base->GetObjects().Count(), 200) << "the whole world's land";
        EXPECT_EQ(globe.GlobeLayers().GetLayer(0), base) << "the land lies beneath the lesson";

        // Land, the lesson's or the base map's, is much of what is seen.
        int samples = 0, land = 0;
        for (int y = 0; y < globe.height(); y += 8)
            for (int x = 0; x < globe.width(); x += 8) {
                ++samples;
                const TGlobeObject* hit = globe.GlobeLayers().ObjectAtXY(x, y);
                land += hit && (!hit->UserObject() ||
                                static_cast<const TGeoItem*>(hit->UserObject())->Category->Kind != CategoryKind::Rivers);
            }
        EXPECT_GT(land, samples / 20) << "hardly any land around the lesson";

        shot(*view, QString(file).replace(QStringLiteral(".lek"), QStringLiteral(".png")));
        const QImage onGlobe = globe.grab().toImage();
        int selected = 0;
        for (int y = 0; y < onGlobe.height(); ++y)
            for (int x = 0; x < onGlobe.width(); ++x)
                selected += (onGlobe.pixel(x, y) | 0xFF000000) == yellow || (onGlobe.pixel(x, y) | 0xFF000000) == brightBlue;
        EXPECT_TRUE(selected >= 20 || map->InsetPanel->isVisible() || map->MarkerObject)
            << asked->DisplayName().toStdString() << " does not stand out";
    }
    EXPECT_GE(lessons, 30);
}

// The base map is context: a click on land outside the lesson's items is
// no answer, and the big lakes are water over the countries around them.
TEST_F(GlobeLessonView, LandOutsideTheLessonIsNoTarget)
{
    TGeoInputAbfrage::RandomSeed = [] { return 7u; };
    auto view = open("Afrika_Laender.lek", true);
    TGeoInputAbfrage::RandomSeed = nullptr;
    ASSERT_TRUE(view->Opened());
    auto* map = dynamic_cast<TGeoVisualGlobe*>(view->MapView);
    ASSERT_NE(map, nullptr);
    TGeoItem* asked = view->InputPanel->CurrentItem;
    ASSERT_NE(asked, nullptr);
    TGlobeView& globe = *map->Globe;
    ASSERT_TRUE(map->Link().BaseLand() && map->Link().BaseWater());
    const auto at = [&](double lon, double lat) {
        QPoint p;
        EXPECT_TRUE(globe.Projection().LLToDeviceXY(std::llround(lon * GU_DEGREE), std::llround(lat * GU_DEGREE), p));
        return p;
    };
    const auto hitIn = [&](const QPoint& p, TGlobeLayer* layer) {
        const TGlobeObject* hit = globe.GlobeLayers().ObjectAtXY(p.x(), p.y());
        for (int i = 0; hit && i < layer->GetObjects().Count(); ++i)
            if (layer->GetObjects().GetObject(i) == hit)
                return true;
        return false;
    };
    // Lake Victoria is water, not Uganda, Kenya or Tanzania.
    EXPECT_TRUE(hitIn(at(33.0, -1.0), map->Link().BaseWater()));
    // Arabia is land of the base map, and a click there asks nothing.
    const QPoint arabia = at(45.0, 23.0);
    ASSERT_TRUE(globe.rect().contains(arabia));
    EXPECT_TRUE(hitIn(arabia, map->Link().BaseLand()));
    globe.MouseDown(mzbLeft, 0, arabia.x(), arabia.y());
    globe.MouseUp(mzbLeft, 0, arabia.x(), arabia.y());
    QCoreApplication::processEvents();
    EXPECT_EQ(asked->State(), ItemState::Open) << "a click on the base map was taken as an answer";
    EXPECT_EQ(view->InputPanel->CurrentItem, asked);

    // A country of the lesson hides its own land in the base map, which is
    // drawn again where the country is not, as when the editor removes it.
    TGeoItem& country = *view->Lesson->FindCategory(QStringLiteral("L"))->Items.front();
    auto* adapter = dynamic_cast<TLessonGlobeObject*>(country.GeoObject);
    ASSERT_TRUE(adapter && adapter->BaseTwin);
    EXPECT_TRUE(adapter->BaseTwin->Hidden());
    country.SetVisible(false);
    EXPECT_FALSE(adapter->BaseTwin->Hidden());
    country.SetVisible(true);
    EXPECT_TRUE(adapter->BaseTwin->Hidden());
}

} // namespace
