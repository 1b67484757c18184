#include "EditorFixture.h"

#include "codec/GifCodec.h"
#include "editor/GeoInputEditor.h"
#include "editor/GeoObjEdit.h"
#include "editor/GeoVisualImageEditor.h"
#include "editor/RegionSeeds.h"
#include "maps/PictureControl.h"
#include "platform/IniFile.h"
#include "widgets/FlatButton.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QTest>
#include <QToolButton>

namespace {

const QString kShippedPicture = QStringLiteral(ORBILO_DATA_FOLDER "/Lektionen/Deutschland_Bundeslaender_Karte.gif");
// Seeds of the shipped picture of the German states, as its lesson has them.
const QPoint kBavaria(364, 565);
const QPoint kHesse(194, 420);

// A photograph's worth of colours: far more than a GIF holds.
QImage trueColour(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x * y) % 256));
    return image;
}

int colourCount(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

int redPixels(const QImage& image)
{
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    return red;
}

class PictureEditorTest : public EditorFixture {
protected:
    QToolButton save;

    static TGeoVisualImageEditor* map(TGeoEditor& editor)
    {
        return dynamic_cast<TGeoVisualImageEditor*>(editor.MapView);
    }

    QString file(const QString& name, const QByteArray& bytes) const
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    // A lesson of the author's own, its picture beside it.
    QString ownLesson()
    {
        QFile::copy(kShippedPicture, lessonPath("Meine.gif"));
        return writeLesson("Meine.lek", QString::fromUtf8("[Lektion]\r\nVersion=3\r\nTyp=image\r\nName=Meine\r\nKategorie=3\r\n"
                                                          "[Allgemeines]\r\nBitmap=Meine.gif\r\n"
                                                          "[Kategorien]\r\n1=Bundesländer|Federal states\r\n"
                                                          "[AKategorien]\r\n1=2\r\n"
                                                          "[Kategorie1]\r\n1=Bayern~Bavaria?364&565?München\r\n"
                                                          "2=Hessen~Hesse??Wiesbaden\r\n")
                                                .toUtf8());
    }

    void load(TGeoEditor& editor, const QString& path)
    {
        responder.fileAnswers = {path};
        map(editor)->LoadButton->click();
    }
};

TEST_F(PictureEditorTest, TheToolPanelHoldsTheFourPictureTools)
{
    auto editor = open("image", false, &save);
    TGeoVisualImageEditor* picture = map(*editor);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(editor->ToolPanel->width(), 133);
    const struct {
        FlatButton* button;
        const char* text;
        int top;
    } buttons[] = {{picture->LoadButton, "Karte &laden", 5},
                   {picture->SaveButton, "Karte &speichern", 35},
                   {picture->CopyButton, "&Kopieren", 65},
                   {picture->PasteButton, "&Einfügen", 95}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->parentWidget(), editor->ToolPanel);
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.text));
        EXPECT_EQ(b.button->geometry(), QRect(5, b.top, 120, 25)) << b.text;
    }
}

// A file that is no picture, or a damaged one, is refused with the codec's
// reason; the map keeps its picture and the lesson stays unchanged. So does
// a cancelled dialog.
TEST_F(PictureEditorTest, WhatIsNoPictureLeavesTheMapAsItWas)
{
    auto editor = open("image", false, &save);
    TGeoVisualImageEditor* picture = map(*editor);
    load(*editor, kShippedPicture);
    ASSERT_FALSE(picture->CleanPicture().isNull());
    ASSERT_EQ(responder.files.size(), 1u);
    EXPECT_EQ(responder.files[0].filters.value(0), "Bilder (*.gif *.png *.jpg *.jpeg)");
    EXPECT_EQ(responder.files[0].filters.value(1), "GIF-Bilder (*.gif)");
    const QImage before = picture->CleanPicture();
    picture->PictureReplaced = false;
    editor->SetModified(false);

    const QByteArray gif = read(kShippedPicture);
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } files[] = {
        {"halb.gif", gif.left(gif.size() / 2), "is not a readable GIF picture"},
        {"kopf.gif", gif.left(13), "is not a readable GIF picture"},
        {"notiz.gif", "Das ist keine Karte.", "is not a readable GIF picture"},
        {"leer.gif", "", "is not a readable GIF picture"},
        {"kaputt.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, 'x'), "is not a readable picture"},
        {"kaputt.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(40, 'x'), "is not a readable picture"},
    };
    for (const auto& f : files) {
        responder.messages.clear();
        load(*editor, file(f.name, f.bytes));
        ASSERT_EQ(responder.messages.size(), 1u) << f.name;
        EXPECT_TRUE(responder.messages[0].text.startsWith("Die Karte konnte nicht geladen werden.")) << f.name;
        EXPECT_TRUE(responder.messages[0].text.contains(f.reason)) << responder.messages[0].text.toStdString();
        EXPECT_EQ(picture->CleanPicture(), before) << f.name;
        EXPECT_EQ(picture->Picture->Bitmap(), before) << f.name;
        EXPECT_FALSE(picture->PictureReplaced) << f.name;
        EXPECT_FALSE(save.isEnabled()) << f.name;
    }

    responder.messages.clear();
    picture->LoadButton->click(); // no answer queued: cancelled
    EXPECT_TRUE(responder.messages.empty());
    EXPECT_EQ(picture->CleanPicture(), before);
    EXPECT_FALSE(save.isEnabled());
}

// A PNG or JPEG and a pasted picture are brought to the colours of a GIF at
// once, so that the map shows what the lesson will keep.
TEST_F(PictureEditorTest, TrueColourPicturesComeInWithTheColoursOfAGif)
{
    const QImage photo = trueColour(QSize(320, 200));
    ASSERT_GT(colourCount(photo), 256);
    const QString png = dir.filePath("foto.png"), jpeg = dir.filePath("foto.jpg");
    ASSERT_TRUE(photo.save(png));
    ASSERT_TRUE(photo.save(jpeg, nullptr, 95));

    for (const QString& path : {png, jpeg}) {
        auto editor = open("image", false, &save);
        load(*editor, path);
        EXPECT_TRUE(responder.messages.empty()) << path.toStdString();
        const QImage shown = map(*editor)->CleanPicture();
        EXPECT_EQ(shown.size(), photo.size());
        EXPECT_LE(colourCount(shown), 256);
        EXPECT_GT(colourCount(shown), 64) << "a median cut, not a handful of colours";
        EXPECT_TRUE(map(*editor)->PictureReplaced);
        EXPECT_TRUE(save.isEnabled());
    }

    // Pasted: the same, and an empty clipboard changes nothing.
    auto editor = open("image", false, &save);
    QApplication::clipboard()->clear();
    map(*editor)->PasteButton->click();
    EXPECT_TRUE(map(*editor)->CleanPicture().isNull());
    EXPECT_FALSE(save.isEnabled());
    QApplication::clipboard()->setImage(photo);
    map(*editor)->PasteButton->click();
    const QImage pasted = map(*editor)->CleanPicture();
    EXPECT_EQ(pasted.size(), photo.size());
    EXPECT_LE(colourCount(pasted), 256);
    EXPECT_TRUE(map(*editor)->PictureReplaced);
    EXPECT_TRUE(save.isEnabled()) << "pasting changes the lesson";
    EXPECT_TRUE(map(*editor)->Picture->isVisibleTo(map(*editor)));
}

// The red of the question being shown is the map's, not the picture's:
// saving and copying give the picture as it came.
TEST_F(PictureEditorTest, SavedAndCopiedPicturesCarryNoHighlight)
{
    auto editor = open(ownLesson(), false, &save);
    TGeoVisualImageEditor* picture = map(*editor);
    editor->ShowPage(3);
    editor->QuestionEditor()->QuestionList->setCurrentRow(0); // Bayern, shown red
    ASSERT_GT(redPixels(picture->Picture->Bitmap()), 1000);

    responder.fileAnswers = {dir.filePath("Kopie")};
    picture->SaveButton->click();
    ASSERT_EQ(responder.files.back().defaultSuffix, "gif");
    const QImage saved = GifCodec::toRgb32(GifCodec::decodeFile(dir.filePath("Kopie.gif")));
    EXPECT_EQ(saved, GifCodec::toRgb32(GifCodec::decodeFile(kShippedPicture)));
    EXPECT_FALSE(save.isEnabled()) << "saving the picture file is no change of the lesson";

    picture->CopyButton->click();
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied, saved);
    EXPECT_EQ(redPixels(copied), 0);
}

// The lesson's picture file is written only when the picture was replaced;
// a new lesson's picture gets a name beside the lesson.
TEST_F(PictureEditorTest, TheLessonsPictureIsWrittenOnlyWhenReplaced)
{
    const QString path = ownLesson();
    const QByteArray original = read(lessonPath("Meine.gif"));
    {
        auto editor = open(path, false, &save);
        QTest::keyClicks(editor->NameGermanEdit, "!");
        ASSERT_TRUE(editor->SaveLesson());
        EXPECT_EQ(read(lessonPath("Meine.gif")), original) << "not replaced: not written";

        QApplication::clipboard()->setImage(trueColour(QSize(120, 90)));
        map(*editor)->PasteButton->click();
        ASSERT_TRUE(editor->SaveLesson());
        EXPECT_FALSE(map(*editor)->PictureReplaced);
        EXPECT_EQ(IniFile(path).ReadString("Allgemeines", "Bitmap"), "Meine.gif");
        EXPECT_EQ(GifCodec::toRgb32(GifCodec::decodeFile(lessonPath("Meine.gif"))), map(*editor)->CleanPicture());
        EXPECT_EQ(QDir(dir.filePath("Lektionen")).entryList({"Meine*"}), QStringList({"Meine.gif", "Meine.lek"}))
            << "written in place, no temporary file left";
    }
    {
        auto editor = open("image", false, &save);
        QTest::keyClicks(editor->NameGermanEdit, "Neue Karte");
        load(*editor, kShippedPicture);
        ASSERT_TRUE(editor->SaveLesson());
        const QString bitmap = IniFile(editor->LessonPath).ReadString("Allgemeines", "Bitmap");
        EXPECT_EQ(bitmap, "Neue_Karte.gif");
        EXPECT_EQ(GifCodec::toRgb32(GifCodec::decodeFile(lessonPath(bitmap))),
                  GifCodec::toRgb32(GifCodec::decodeFile(kShippedPicture)));
    }
}

// Clicking the map while a question is being edited gives it its region:
// each click fills its area at once, a second click in it takes it out, and
// a click on a black border is refused. OK keeps the region, Cancel not.
TEST_F(PictureEditorTest, RegionsAreSetByClicksOnTheMap)
{
    auto editor = open(ownLesson(), false, &save);
    TGeoVisualImageEditor* picture = map(*editor);
    TGeoInputEditor& questions = *editor->QuestionEditor();
    editor->ShowPage(3);
    questions.QuestionList->setCurrentRow(1); // Hessen, no region yet
    TGeoItem* hesse = questions.SelectedQuestion();
    ASSERT_EQ(hesse->DisplayName(), "Hessen");
    questions.EditQuestion();
    auto* panel = dynamic_cast<TGeoObjEditImage*>(editor->ItemEditPanel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->RegionCount->text(), "kein Gebiet");
    const QImage& shown = picture->Picture->Bitmap();
    EXPECT_EQ(shown.pixel(kBavaria) & 0xFFFFFF, 0xFFFFFFu) << "the question edited is shown, not the one before";

    QTest::mouseClick(picture->Picture, Qt::LeftButton, {}, kHesse);
    EXPECT_EQ(panel->PendingRegion(), "194&420");
    EXPECT_EQ(panel->RegionCount->text(), "1 Punkt");
    EXPECT_EQ(picture->Picture->Bitmap().pixel(kHesse) & 0xFFFFFF, 0xFF0000u) << "filled at once";
    QTest::mouseClick(picture->Picture, Qt::LeftButton, {}, kBavaria);
    EXPECT_EQ(panel->RegionCount->text(), "2 Punkte");
    QTest::mouseClick(picture->Picture, Qt::LeftButton, {}, kBavaria + QPoint(15, 10));
    EXPECT_EQ(panel->PendingRegion(), "194&420") << "a second click in an area takes it out";
    EXPECT_EQ(picture->Picture->Bitmap().pixel(kBavaria) & 0xFFFFFF, 0xFFFFFFu);

    // A border pixel: the nearest black one right of Hesse's seed.
    QPoint border = kHesse;
    while ((picture->CleanPicture().pixel(border) & 0xFFFFFF) != 0)
        border.rx()++;
    QTest::mouseClick(picture->Picture, Qt::LeftButton, {}, border);
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, "Dieser Punkt liegt auf einer schwarzen Grenzlinie. Bitte klicken Sie in das "
                                          "Innere eines Gebiets.");
    EXPECT_EQ(panel->PendingRegion(), "194&420");

    panel->OkButton->click();
    EXPECT_EQ(hesse->Region, "194&420");
    EXPECT_TRUE(save.isEnabled());
    EXPECT_EQ(picture->Picture->Bitmap().pixel(kHesse) & 0xFFFFFF, 0xFF0000u) << "the edited question stays shown";

    // Cancel: the region and the map stay as they were.
    questions.EditQuestion();
    panel->ClearRegionButton->click();
    EXPECT_EQ(picture->Picture->Bitmap().pixel(kHesse) & 0xFFFFFF, 0xFFFFFFu);
    panel->CancelButton->click();
    EXPECT_EQ(hesse->Region, "194&420");
    EXPECT_EQ(picture->Picture->Bitmap().pixel(kHesse) & 0xFFFFFF, 0xFF0000u);

    // Without a question being edited a click does nothing.
    QTest::mouseClick(picture->Picture, Qt::LeftButton, {}, kBavaria);
    EXPECT_EQ(picture->Picture->Bitmap().pixel(kBavaria) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(responder.messages.size(), 1u);
}

TEST_F(PictureEditorTest, ASecondClickTakesOutEverySeedOfItsArea)
{
    const QImage picture = GifCodec::toRgb32(GifCodec::decodeFile(kShippedPicture));
    const struct {
        const char* region;
        QPoint click;
        RegionSeeds::Click result;
        const char* after;
    } cases[] = {
        {"", QPoint(194, 420), RegionSeeds::Click::Added, "194&420"},
        {"194&420", QPoint(200, 425), RegionSeeds::Click::Removed, ""},
        {"194&420&200&425", QPoint(196, 421), RegionSeeds::Click::Removed, ""},
        {"194&420&364&565", QPoint(360, 560), RegionSeeds::Click::Removed, "194&420"},
        {"194&420", QPoint(-1, 5), RegionSeeds::Click::Outside, "194&420"},
        {"194&420", QPoint(5000, 5), RegionSeeds::Click::Outside, "194&420"},
        // A damaged region keeps what parses.
        {"194&x&364&565", QPoint(194, 420), RegionSeeds::Click::Added, "364&565&194&420"},
    };
    for (const auto& c : cases) {
        QString region = c.region;
        EXPECT_EQ(RegionSeeds::Toggle(picture, region, c.click), c.result) << c.region;
        EXPECT_EQ(region, c.after) << c.region;
    }
}

} // namespace
