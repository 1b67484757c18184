#include "i18n/LangDictionary.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

TLangDictionary sample()
{
    return TLangDictionary(QStringLiteral("Tfrm_test"),
                           TLangDictionary::parseTables(QString::fromUtf8("[Strings]\n"
                                                                          "right\tRichtig!\t\tRight!\n"
                                                                          "abc\tA\t\tC\n"
                                                                          "RIGHT\tshadowed\t\tshadowed\n"
                                                                          "multi\tZeile 1\\nZeile 2\t\t\n"
                                                                          "only1\tnur deutsch\n"
                                                                          "[DlgsCaptions]\n"
                                                                          "No To All\tN&ein zu allen\t\tN&o To All\n"),
                                                         QChar(1)));
}

TEST(LangDictionary, LooksUpKeysWithoutCaseAndFallsBackToLanguageOne)
{
    TLangDictionary d = sample();
    struct Case {
        int language;
        const char* key;
        const char* expected;
    } cases[] = {
        {1, "RIGHT", "Richtig!"}, {3, "Right", "Right!"}, {1, "abc", "A"}, {2, "abc", "A"},
        {3, "abc", "C"},          {3, "only1", "nur deutsch"}, {2, "multi", "Zeile 1\nZeile 2"},
        {3, "missing", ""},
    };
    for (const Case& c : cases) {
        d.SetActLang(c.language);
        EXPECT_EQ(d.GetText(c.key), QString::fromUtf8(c.expected)) << c.key << " in " << c.language;
    }
    d.SetActLang(3);
    EXPECT_EQ(d.dialogCaption("No To All"), "N&o To All");
}

TEST(LangDictionary, NoChangeLeavesEmptyTextsEmpty)
{
    TLangDictionary d = sample();
    d.translateType = TranslateType::ttNoChange;
    d.SetActLang(2);
    EXPECT_EQ(d.GetText("abc"), "");
}

TEST(LangDictionary, SwitchingNotifiesOnlyOnChangeAndRejectsBadNumbers)
{
    TLangDictionary d = sample();
    int notified = 0, applied = 0;
    d.OnChangeLanguage = [&](TLangDictionary&) { ++notified; };
    d.applier = [&](const TLangDictionary&) { ++applied; };
    d.SetActLang(1);
    EXPECT_EQ(notified, 0) << "the active language again is no switch";
    d.SetActLang(3);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(d.Language(), "Englisch");
    for (int bad : {0, 4, -1}) {
        try {
            d.SetActLang(bad);
            FAIL() << bad;
        } catch (const LanguageError& e) {
            EXPECT_EQ(e.message(), QString("%1 - is not a valid property value!\rValue must be within [1..3]!").arg(bad));
        }
    }
    EXPECT_EQ(d.ActiveLanguage(), 3);
    EXPECT_EQ(notified, 1);
}

TEST(LangDictionary, MissingKeyRaisesOnlyWhenAsked)
{
    TLangDictionary d = sample();
    d.DoRaiseExceptions = true;
    try {
        d.GetText("nope");
        FAIL();
    } catch (const LanguageError& e) {
        EXPECT_EQ(e.message(), "String identifier \"nope\" not found!");
    }
}

TEST(LangDictionary, FieldExtractionKeepsEmptyFieldsInPlace)
{
    const QChar d(1);
    const QString line = QString(d) + "key" + d + "A" + d + d + "C" + d;
    EXPECT_EQ(TLangDictionary::field(line, 1, d), "key");
    EXPECT_EQ(TLangDictionary::field(line, 2, d), "A");
    EXPECT_EQ(TLangDictionary::field(line, 3, d), "");
    EXPECT_EQ(TLangDictionary::field(line, 4, d), "C");
    EXPECT_EQ(TLangDictionary::field(line, 9, d), "");
}

TEST(LangDictionary, SwitchingLeavesRegionalSettingsAlone)
{
    const QLocale before;
    TLangDictionary d = sample();
    d.SetActLang(3);
    EXPECT_EQ(QLocale().decimalPoint(), before.decimalPoint());
}

} // namespace
