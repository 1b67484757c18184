#include "i18n/LangDictionary.h"
#include "platform/AtomicFile.h"

#include <QSet>
#include <gtest/gtest.h>

// Every message key the program's code asks for is present in its window's
// dictionary, with a text in language 1.
TEST(DictionaryContent, EveryListedKeyExistsWithAGermanText)
{
    const QString list = QString::fromUtf8(readWholeFile(QStringLiteral(ORBILO_DICTIONARY_KEYS)));
    ASSERT_FALSE(list.isEmpty());
    QString window;
    QSet<QString> allowedEmpty;
    bool emptySection = false;
    QList<QPair<QString, QString>> keys;
    for (QString line : list.split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("# empty-in-language-1"))) {
            emptySection = true;
            continue;
        }
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            window = line.mid(1, line.size() - 2);
            emptySection = false;
            continue;
        }
        if (emptySection)
            allowedEmpty.insert(line);
        else
            keys.append({window, line});
    }
    EXPECT_EQ(keys.size(), 109 + 29 + 6 + 1);
    for (const auto& [windowClass, key] : keys) {
        TLangDictionary dictionary = TLangDictionary::forWindow(windowClass);
        dictionary.DoRaiseExceptions = true;
        QString text;
        EXPECT_NO_THROW(text = dictionary.GetText(key)) << windowClass.toStdString() << ": " << key.toStdString();
        if (!allowedEmpty.contains(key)) {
            EXPECT_FALSE(text.isEmpty()) << windowClass.toStdString() << ": " << key.toStdString();
        }
    }
}

TEST(DictionaryContent, EveryWindowCarriesTheFifteenDialogCaptions)
{
    for (const char* windowClass : {"Tfrm_main", "Tfrm_willkommen", "Tfrm_training", "Tfrm_Ergebnis"}) {
        const TLangDictionary dictionary = TLangDictionary::forWindow(windowClass);
        EXPECT_EQ(dictionary.tables().DlgsCaptions.size(), 15) << windowClass;
        EXPECT_FALSE(dictionary.dialogCaption("No To All").isEmpty()) << windowClass;
    }
}
