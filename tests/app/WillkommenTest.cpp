#include "AppFixture.h"

#include <QLabel>
#include <QStackedWidget>

namespace {

using WillkommenTest = AppFixture;

TEST(Willkommen, InitialLanguageFromTheLengthOfTheEnglishName)
{
    struct Case {
        const char* name;
        int language;
    } cases[] = {{"German", 1}, {"French", 1}, {"English", 3}, {"Spanish", 3}, {"", 3}};
    for (const Case& c : cases)
        EXPECT_EQ(Tfrm_willkommen::InitialLanguage(c.name), c.language) << c.name;
}

TEST_F(WillkommenTest, FirstStartCannotCloseWithoutAName)
{
    Tfrm_willkommen dialog;
    dialog.WelcomeMode = Tfrm_willkommen::FirstStart;
    dialog.PrepareShow();
    dialog.show();
    dialog.btn_Ok()->click();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(responder.messages[0].text.startsWith(dialog.lang.ActiveLanguage() == 3 ? "Please enter" : "Bitte geben"));
    EXPECT_EQ(responder.messages[0].title, "Information") << "the welcome dialog's dialogs are English";
    dialog.Name()->setText("Zoë");
    dialog.btn_Ok()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.EnteredName(), "Zoë");
    EXPECT_EQ(dialog.SelectedLanguageIndex(), 0);
}

TEST_F(WillkommenTest, PickingALanguageSwitchesTheDialogAtOnce)
{
    Tfrm_willkommen dialog;
    dialog.PrepareShow();
    dialog.Sprachwahl()->setCurrentRow(2);
    EXPECT_EQ(dialog.findChild<QLabel*>("lbl_Name")->text(), "Please enter your name:");
    dialog.Sprachwahl()->setCurrentRow(1);
    EXPECT_EQ(dialog.findChild<QLabel*>("lbl_Name")->text(), "Bitte geben Sie Ihren &Namen ein:");
    EXPECT_EQ(dialog.Sprachwahl()->currentRow(), 1) << "the selection survives the new list texts";
}

TEST_F(WillkommenTest, UserSelectionAlwaysCloses)
{
    Tfrm_willkommen dialog;
    dialog.WelcomeMode = Tfrm_willkommen::UserSelection;
    dialog.SetUsers({"Ben|4", "Cleo|9"});
    dialog.PrepareShow();
    EXPECT_EQ(dialog.pages()->currentIndex(), 1);
    EXPECT_EQ(dialog.SelectedUserEntry(), "Ben|4");
    dialog.show();
    dialog.btn_Ok()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(responder.messages.empty());
}

} // namespace
