#include "learning/Trainingsarten.h"
#include "lesson/TLernOptionen.h"
#include "support/TestResponder.h"
#include "widgets/FlatButton.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEnterEvent>
#include <QTest>
#include <map>
#include <gtest/gtest.h>

namespace {

TEST(Training, ModesShowTheirOptions)
{
    Tfrm_training dialog;
    dialog.show();
    struct Case {
        int mode;
        bool country;
        bool difficulty, capitals, viewOnMap, pairing;
        const char* difficultyKey;
    } cases[] = {
        {0, true, true, true, false, false, "Anfangsbuchstaben"},
        {1, true, true, true, true, false, "Anfangsbuchstaben"},
        {1, false, true, false, false, false, "Anfangsbuchstaben"},
        {2, true, true, true, false, false, "Schwierigkeit"},
        {3, true, false, false, false, true, "Schwierigkeit"},
    };
    for (const Case& c : cases) {
        dialog.PrepareShow(c.country);
        dialog.ModeButton(c.mode)->click();
        EXPECT_EQ(dialog.Mode(), c.mode);
        EXPECT_EQ(dialog.Schwierigkeit()->isVisible(), c.difficulty) << c.mode;
        EXPECT_EQ(dialog.Hauptstaedte()->isVisible(), c.capitals) << c.mode;
        EXPECT_EQ(dialog.ViewOnMap()->isVisible(), c.viewOnMap) << c.mode;
        EXPECT_EQ(dialog.Auswahl_Memory()->isVisible(), c.pairing) << c.mode;
        EXPECT_EQ(dialog.Schwierigkeit()->text(), dialog.lang.GetText(c.difficultyKey));
        EXPECT_EQ(dialog.Description(), dialog.lang.GetText(QString("desc%1").arg(c.mode)));
    }
    dialog.PrepareShow(false);
    EXPECT_FALSE(dialog.ModeButton(3)->isVisible()) << "memory only for country lessons";
}

// Every Alt key of the dialog reaches one control, in every language and mode.
TEST(Training, NoTwoVisibleControlsShareAnAltKey)
{
    Tfrm_training dialog;
    dialog.show();
    for (int language = 1; language <= 3; ++language) {
        dialog.lang.SetActLang(language);
        for (int mode = 0; mode < 4; ++mode) {
            dialog.PrepareShow(true);
            dialog.ModeButton(mode)->click();
            std::map<QChar, QString> owners;
            for (QAbstractButton* control : dialog.findChildren<QAbstractButton*>()) {
                const QString text = control->text();
                const qsizetype amp = text.indexOf(u'&');
                if (!control->isVisible() || amp < 0 || amp + 1 >= text.size())
                    continue;
                const QChar key = text.at(amp + 1).toLower();
                EXPECT_FALSE(owners.count(key)) << "language " << language << ", mode " << mode << ": Alt+"
                                                << QString(key).toStdString() << " for "
                                                << owners[key].toStdString() << " and " << text.toStdString();
                owners[key] = text;
            }
        }
    }
}

// The chosen mode is unmistakable: chosen, keyboard focus and plain each
// look different, and a button hidden under the pointer does not come back
// looking raised.
TEST(Training, ModeButtonsShowChosenFocusAndPlainApart)
{
    Tfrm_training dialog;
    dialog.PrepareShow(true);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.ModeButton(2)->click();
    FlatButton* plain = dialog.ModeButton(1);
    FlatButton* focused = dialog.ModeButton(0);
    focused->setFocus(Qt::TabFocusReason);
    auto look = [](QWidget* w) {
        QImage image = w->grab().toImage();
        return image.copy(0, 0, 20, image.height()); // the frame and the glyph, not the caption
    };
    const QImage chosenLook = look(dialog.ModeButton(2));
    const QImage focusLook = look(focused);
    const QImage plainLook = look(plain);
    EXPECT_NE(chosenLook, plainLook);
    EXPECT_NE(focusLook, plainLook);
    EXPECT_NE(focusLook, chosenLook);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), plain->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(plain, &enter);
    plain->hide();
    plain->show();
    EXPECT_EQ(look(plain), plainLook) << "no stale hover frame";
}

TEST(Training, EveryShowingStartsFromTheDefaultsAndHiddenBoxesCount)
{
    TestResponder responder;
    Tfrm_training dialog;
    int round = 0;
    responder.onDialog = [&](QDialog&) {
        if (round++ == 0) {
            dialog.ModeButton(2)->click();
            dialog.Schwierigkeit()->setChecked(true);
            dialog.Auswahl_Memory()->SetItemIndex(3);
            return int(QDialog::Accepted);
        }
        EXPECT_EQ(dialog.Mode(), 0);
        EXPECT_FALSE(dialog.Schwierigkeit()->isChecked());
        EXPECT_TRUE(dialog.Hauptstaedte()->isChecked());
        EXPECT_EQ(dialog.Auswahl_Memory()->ItemIndex(), 0);
        return int(QDialog::Accepted);
    };
    TLernOptionen first;
    ASSERT_TRUE(dialog.Execute(first, false, 3));
    EXPECT_EQ(first.Mode, 2);
    EXPECT_TRUE(first.Schwierigkeit);
    EXPECT_TRUE(first.Hauptstaedte) << "hidden but ticked";
    EXPECT_EQ(first.MemoryPairing, 3);
    EXPECT_EQ(dialog.windowTitle(), "Learning menu");
    TLernOptionen second;
    ASSERT_TRUE(dialog.Execute(second, true, 2));
    EXPECT_EQ(second.Mode, 0);
    EXPECT_EQ(dialog.Auswahl_Memory()->title(), "M&emory ");
}

TEST(Training, CancelLeavesTheOptionsAlone)
{
    TestResponder responder;
    responder.onDialog = [](QDialog&) { return int(QDialog::Rejected); };
    Tfrm_training dialog;
    TLernOptionen options;
    options.Mode = 2;
    EXPECT_FALSE(dialog.Execute(options, true, 1));
    EXPECT_EQ(options.Mode, 2);
}

} // namespace
