#pragma once

#include "i18n/LangDictionary.h"

#include <QDialog>

class EntryListBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// The welcome dialog of the start-up: greets a first user (language and
// name) or lets one of several users pick himself.
class Tfrm_willkommen : public QDialog {
public:
    enum Mode { FirstStart = 0, UserSelection = 1 };

    explicit Tfrm_willkommen(QWidget* parent = nullptr);

    TLangDictionary lang;
    int WelcomeMode = FirstStart;

    // Mode 1: the users to choose from, entries "name|number".
    void SetUsers(const QStringList& entries);
    // Called by the start-up just before the dialog is shown.
    void PrepareShow();

    int SelectedLanguageIndex() const;
    QString EnteredName() const;
    QString SelectedUserEntry() const;

    // The controls, for the start-up and for tests.
    EntryListBox* Sprachwahl() const { return m_languages; }
    EntryListBox* users() const { return m_users; }
    QLineEdit* Name() const { return m_name; }
    QPushButton* btn_Ok() const { return m_ok; }
    QStackedWidget* pages() const { return m_pages; }

    // The first-start language from the system language: an English name of
    // six letters, as in "German", starts in German, anything else in English.
    static int InitialLanguage(const QString& englishLanguageName);

    void done(int result) override;

private:
    void langChangeLanguage();
    void centreWelcomePicture();

    QLabel* m_picture;
    QStackedWidget* m_pages;
    EntryListBox* m_languages;
    EntryListBox* m_users;
    QLineEdit* m_name;
    QPushButton* m_ok;
};
