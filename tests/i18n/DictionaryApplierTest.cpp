#include "i18n/DictionaryApplier.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class CustomList : public QWidget, public TranslatableControl {
public:
    QString items;
    bool setTranslatedText(const QString& property, const QString& text) override
    {
        if (property != "Items")
            return false;
        items = text;
        return true;
    }
};

TEST(DictionaryApplier, CommaTextHonoursQuotes)
{
    EXPECT_EQ(parseCommaText(R"(Nordamerika,"Australien und Ozeanien","a,b",x""y, last)"),
              (QStringList{"Nordamerika", "Australien und Ozeanien", "a,b", "x\"\"y", "last"}));
    EXPECT_EQ(parseCommaText(""), QStringList{});
    EXPECT_EQ(parseCommaText("a,"), (QStringList{"a", ""}));
}

TEST(DictionaryApplier, AppliesEveryTableToNamedControls)
{
    QWidget window;
    auto* button = new QPushButton(&window);
    button->setObjectName("btn_Ok");
    auto* label = new QLabel(&window);
    label->setObjectName("lbl_Name");
    auto* combo = new QComboBox(&window);
    combo->setObjectName("Kat");
    combo->addItems({"x", "y", "z"});
    combo->setCurrentIndex(1);
    auto* tree = new QTreeWidget(&window);
    tree->setObjectName("ListVergleich");
    tree->setColumnCount(2);
    auto* custom = new CustomList;
    custom->setParent(&window);
    custom->setObjectName("Sprachwahl");

    TLangDictionary d(QStringLiteral("Tfrm_test"), TLangDictionary::parseTables(QString::fromUtf8(
                                                       "[Captions]\nTfrm_test\tTitel\t\tTitle\n"
                                                       "btn_Ok\t&Ok\t\t&OK\nlbl_Name\tName:\t\tName:\nunknown\tx\t\ty\n"
                                                       "[Hints]\nbtn_Ok\tSchließen\t\tClose\n"
                                                       "[MultiLines]\nKat.Items\tEins,Zwei,Drei\t\tOne,Two,Three\n"
                                                       "Sprachwahl.Items\ta,b\t\tc,d\n"
                                                       "[Collections]\nListVergleich.Columns[1].Caption\tDatum\t\tDate\n"),
                                                   QChar(1)));
    attachDictionary(&window, d);
    EXPECT_EQ(window.windowTitle(), "Titel");
    d.SetActLang(3);
    EXPECT_EQ(window.windowTitle(), "Title");
    EXPECT_EQ(button->text(), "&OK");
    EXPECT_EQ(button->toolTip(), "Close");
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "Two") << "the selection survives the switch";
    EXPECT_EQ(tree->headerItem()->text(1), "Date");
    EXPECT_EQ(custom->items, "c,d");
}

} // namespace
