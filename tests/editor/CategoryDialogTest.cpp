#include "EditorFixture.h"

#include "editor/ColourButton.h"
#include "editor/KatEdit.h"
#include "globe/GlobeView.h"
#include "i18n/MainDictionary.h"
#include "maps/GeoVisualGlobe.h"
#include "widgets/FlatButton.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

class CategoryDialogTest : public EditorFixture {};

TEST_F(CategoryDialogTest, TheOutlineRowBelongsToAreas)
{
    const struct {
        const char* kind;
        bool outline;
        int buttonsTop, height;
    } cases[] = {{"S", false, 230, 290}, {"L", true, 255, 315}, {"I", true, 255, 315},
                 {"T", true, 255, 315},  {"C", false, 230, 290}, {"F", false, 230, 290}};
    TFormKatEditGlobe dialog(MainDictionary(), nullptr);
    for (const auto& c : cases) {
        TKategorie category;
        category.SetKind(c.kind);
        answerDialogs([&](QDialog& shown) {
            EXPECT_EQ(&shown, dialog.DialogWindow());
            EXPECT_EQ(!dialog.OutlineColour->isHidden(), c.outline) << c.kind;
            EXPECT_EQ(!dialog.OutlineLabel->isHidden(), c.outline) << c.kind;
            EXPECT_EQ(dialog.OkButton->y(), c.buttonsTop) << c.kind;
            EXPECT_EQ(dialog.CancelButton->y(), c.buttonsTop) << c.kind;
            EXPECT_EQ(shown.height(), c.height) << c.kind;
            EXPECT_EQ(dialog.MapColour->Color(), category.MapColor);
            return false;
        });
        EXPECT_FALSE(dialog.Edit(category));
    }
}

TEST_F(CategoryDialogTest, CancelLeavesTheCategoryAndOkStoresEvenEmptyNames)
{
    TFormKatEditGlobe dialog(MainDictionary(), nullptr);
    TKategorie category;
    category.SetKind("L");
    const auto change = [&](bool confirm) {
        answerDialogs([&, confirm](QDialog&) {
            dialog.GermanName->clear();
            dialog.EnglishName->clear();
            dialog.Colour->SetColor(0x0000FF);
            dialog.SelectedColour->SetColor(0x00FF00);
            dialog.OutlineColour->SetColor(0xFF0000);
            return confirm;
        });
        return dialog.Edit(category);
    };
    EXPECT_FALSE(change(false));
    EXPECT_EQ(category.Name, QString::fromUtf8("Länder"));
    EXPECT_EQ(category.Color, 0x000000);
    EXPECT_EQ(category.OutlineColor, 0x000000);
    EXPECT_TRUE(change(true));
    EXPECT_EQ(category.Name, "");
    EXPECT_EQ(category.NameEnglish, "");
    EXPECT_EQ(category.Color, 0x0000FF);
    EXPECT_EQ(category.SelectedColor, 0x00FF00);
    EXPECT_EQ(category.OutlineColor, 0xFF0000);
}

// The map colour reaches the globe while the dialog closes, before anything
// else happens.
TEST_F(CategoryDialogTest, ANewMapColourRecoloursTheGlobeAtOnce)
{
    auto editor = open(lessonPath("Afrika_Laender.lek"), true);
    page.show();
    editor->ShowPage(2);
    QCoreApplication::processEvents();
    auto* globe = dynamic_cast<TGeoVisualGlobe*>(editor->MapView);
    ASSERT_NE(globe, nullptr);
    const QRgb lime = qRgb(0, 255, 0);
    const auto limePixels = [&] {
        const QImage image = globe->Globe->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == lime;
        return n;
    };
    ASSERT_EQ(limePixels(), 0);
    editor->CategoryList->setCurrentRow(0);
    int seenByCaller = -1;
    answerDialogs([&](QDialog&) {
        auto& dialog = static_cast<TFormKatEditGlobe&>(editor->CategoryDialog());
        dialog.MapColour->SetColor(0x00FF00);
        return true;
    });
    ASSERT_TRUE(editor->CategoryDialog().Edit(*editor->SelectedCategory()));
    seenByCaller = limePixels();
    EXPECT_GT(seenByCaller, 1000);
}

TEST(ColourButton, OffersTheBasicColoursAndTheColourDialog)
{
    TestResponder responder;
    ColourButton button("Colour");
    button.SetOtherCaption("&Andere");
    button.SetColor(0x000000);
    QFrame* choice = button.Choice();
    ASSERT_NE(choice, nullptr);
    const QList<QToolButton*> swatches = choice->findChildren<QToolButton*>();
    ASSERT_EQ(swatches.size(), 16);
    swatches[9]->click(); // the tenth basic colour: red
    EXPECT_EQ(button.Color(), 0x0000FF);

    auto* other = choice->findChild<QPushButton*>("Other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), "&Andere");
    responder.onDialog = [](QDialog& dialog) {
        auto* colours = dynamic_cast<QColorDialog*>(&dialog);
        EXPECT_NE(colours, nullptr);
        EXPECT_EQ(colours->currentColor(), QColor(255, 0, 0)) << "it starts from the button's colour";
        colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        colours->accept();
        return int(QDialog::Accepted);
    };
    other->click();
    EXPECT_EQ(button.Color(), 0x563412);
    responder.onDialog = [](QDialog&) { return int(QDialog::Rejected); };
    button.ChooseOther();
    EXPECT_EQ(button.Color(), 0x563412) << "cancelled: the colour stays";
}

} // namespace
