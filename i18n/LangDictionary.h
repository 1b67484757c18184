#pragma once

#include "platform/OrbiloError.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

// Raised for an out-of-range language and, in dictionaries that ask for it,
// for a missing message key.
class LanguageError : public OrbiloError {
public:
    using OrbiloError::OrbiloError;
};

enum class TranslateType { ttGetDefault, ttNoChange };

// The texts of one window in every language: captions, hints, list items,
// dialog captions and the keyed messages the window's code asks for.
// Every entry is one line "key DELIM text1 DELIM text2 DELIM text3 DELIM".
// The dictionary holds no widgets: applying its tables to a window is done by
// the applier the window installs (see DictionaryApplier).
class TLangDictionary {
public:
    struct Tables {
        QStringList Captions, Hints, Strings, MultiLines, Collections, OtherStrings, Fonts, CharSets,
            DlgsCaptions, Locales;
    };

    // Loads the dictionary of a window class from the program's resources
    // (":/dictionaries/<class>.lang").
    static TLangDictionary forWindow(const QString& windowClass);
    // Parses the readable dictionary format (tables in [brackets], rows of
    // tab-separated key and three texts, "\n" for a line break).
    static Tables parseTables(const QString& text, QChar delimiter);

    explicit TLangDictionary(QString windowClass = {}, Tables tables = {});

    const QString& windowClass() const { return m_windowClass; }
    const Tables& tables() const { return m_tables; }

    int NumOfLanguages = 3;
    QStringList LangNames{QStringLiteral("Deutsch (alte Rechtschreibung)"),
                          QStringLiteral("Deutsch (neue Rechtschreibung)"), QStringLiteral("Englisch")};
    QChar LangDelim = QChar(1);
    TranslateType translateType = TranslateType::ttGetDefault;
    bool DoRaiseExceptions = false;
    QStringList DoNotTranslate;
    QStringList ExcludedProperties;
    bool ChangeLocales = false;

    int ActiveLanguage() const { return m_activeLanguage; }
    const QString& Language() const { return m_language; }

    // Raised at the end of every switch.
    std::function<void(TLangDictionary&)> OnChangeLanguage;
    // Applies the tables to the window; installed by the window.
    std::function<void(const TLangDictionary&)> applier;
    // Shows a busy cursor while a switch runs; installed by the UI layer.
    static inline std::function<void(bool busy)> busyCursorHook;

    QString GetText(const QString& key) const;
    void SetActLang(int language);

    // The active language's text of one table entry, with the fallback to
    // language 1 for an empty text.
    QString entryText(const QString& entry) const;
    QString entryKey(const QString& entry) const;
    // Text of a DlgsCaptions row ("No To All" and the like).
    QString dialogCaption(const QString& key) const;

    // Field k (1-based) of a dictionary line; a delimiter at the very start is
    // skipped and one delimiter separates two fields.
    static QString field(const QString& line, int k, QChar delimiter);

private:
    QString lookup(const QStringList& table, const QHash<QString, int>& index, const QString& key,
                   bool* found) const;
    static QHash<QString, int> buildIndex(const QStringList& table, QChar delimiter);

    QString m_windowClass;
    Tables m_tables;
    QHash<QString, int> m_stringIndex;
    QHash<QString, int> m_dialogIndex;
    int m_activeLanguage = 1;
    QString m_language;
};
