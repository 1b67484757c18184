#include "app/Willkommen.h"

#include "widgets/Background.h"
#include "widgets/Artwork.h"
#include "i18n/DictionaryApplier.h"
#include "i18n/LangDialogs.h"
#include "widgets/EntryListBox.h"
#include "widgets/GradientPanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>

namespace {
QLabel* makeLabel(const QString& name, QWidget* parent, QRect geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}
} // namespace

Tfrm_willkommen::Tfrm_willkommen(QWidget* parent)
    : QDialog(parent), lang(TLangDictionary::forWindow(QStringLiteral("Tfrm_willkommen")))
{
    setObjectName(QStringLiteral("Tfrm_willkommen"));
    lang.DoRaiseExceptions = true;
    setFont(ProgramFont());
    setFixedSize(363, 408);
    FillBackground(this);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("img_Willkommen"));

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->setGeometry(0, 112, 363, 252);

    auto* first = new QWidget;
    first->setObjectName(QStringLiteral("1"));
    auto* welcome = makeLabel(QStringLiteral("lbl_Willkommen"), first, QRect(16, 4, 331, 22));
    QFont big = welcome->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 3);
    welcome->setFont(big);
    auto* languageLabel = makeLabel(QStringLiteral("lbl_Sprache"), first, QRect(16, 38, 331, 17));
    m_languages = new EntryListBox(QStringLiteral("Sprachwahl"), EntryListBox::Kind::Language, first);
    m_languages->setGeometry(16, 57, 331, 3 * 17 + 4);
    languageLabel->setBuddy(m_languages);
    auto* nameLabel = makeLabel(QStringLiteral("lbl_Name"), first, QRect(16, 130, 331, 17));
    m_name = new QLineEdit(first);
    m_name->setObjectName(QStringLiteral("Name"));
    m_name->setGeometry(16, 149, 331, 21);
    nameLabel->setBuddy(m_name);
    m_pages->addWidget(first);

    auto* userPage = new QWidget;
    userPage->setObjectName(QStringLiteral("user"));
    auto* userLabel = makeLabel(QStringLiteral("lbl_Benutzer"), userPage, QRect(16, 4, 331, 17));
    m_users = new EntryListBox(QStringLiteral("users"), EntryListBox::Kind::User, userPage);
    m_users->setGeometry(16, 23, 331, 220);
    userLabel->setBuddy(m_users);
    m_pages->addWidget(userPage);

    auto* bottom = new GradientPanel(this);
    bottom->setObjectName(QStringLiteral("pn_Bottom"));
    bottom->setGeometry(0, 368, 363, 40);
    m_ok = new QPushButton(bottom);
    m_ok->setObjectName(QStringLiteral("btn_Ok"));
    m_ok->setGeometry(363 - 75 - 12, 8, 75, 25);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    // Enter in the name field acts like the button.
    connect(m_name, &QLineEdit::returnPressed, this, &QDialog::accept);

    connect(m_languages, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lang.SetActLang(row + 1);
    });
    lang.OnChangeLanguage = [this](TLangDictionary&) { langChangeLanguage(); };
    attachDictionary(this, lang);
    langChangeLanguage();
}

int Tfrm_willkommen::InitialLanguage(const QString& englishLanguageName)
{
    return englishLanguageName.size() == 6 ? 1 : 3;
}

void Tfrm_willkommen::langChangeLanguage()
{
    m_picture->setPixmap(Artwork::WelcomePicture(lang.ActiveLanguage()));
    m_picture->adjustSize();
    centreWelcomePicture();
}

void Tfrm_willkommen::centreWelcomePicture()
{
    m_picture->move((width() - m_picture->width()) / 2, 6);
}

void Tfrm_willkommen::SetUsers(const QStringList& entries) { m_users->setEntries(entries); }

void Tfrm_willkommen::PrepareShow()
{
    centreWelcomePicture();
    if (WelcomeMode == FirstStart) {
        lang.SetActLang(InitialLanguage(QLocale::languageToString(QLocale::system().language())));
        {
            // Language 1 is preselected whatever language the dialog shows.
            const QSignalBlocker block(m_languages);
            m_languages->setCurrentRow(0);
        }
        m_pages->setCurrentIndex(0);
        m_name->setFocus();
    } else {
        m_pages->setCurrentIndex(1);
        m_users->setCurrentRow(0);
        m_users->setFocus();
    }
}

int Tfrm_willkommen::SelectedLanguageIndex() const { return std::max(0, m_languages->currentRow()); }
QString Tfrm_willkommen::EnteredName() const { return m_name->text(); }
QString Tfrm_willkommen::SelectedUserEntry() const { return m_users->entry(std::max(0, m_users->currentRow())); }

void Tfrm_willkommen::done(int result)
{
    // The first start cannot end without a name.
    if (m_pages->currentIndex() == 0 && m_name->text().isEmpty()) {
        MessageDlg(lang, lang.GetText(QStringLiteral("noname")), MsgDlgType::mtInformation, mbOK);
        m_name->setFocus();
        return;
    }
    QDialog::done(result);
}
