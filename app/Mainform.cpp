#include "app/Mainform.h"
#include "app/Austausch.h"
#include "app/OuterSize.h"

#include "widgets/Background.h"
#include "widgets/Artwork.h"
#include "app/Willkommen.h"
#include "i18n/DictionaryApplier.h"
#include "i18n/LangDialogs.h"
#include "i18n/MainDictionary.h"
#include "platform/ErrorDisplay.h"
#include "platform/HelpViewer.h"
#include "platform/Messages.h"
#include "widgets/EntryListBox.h"
#include "widgets/FlatButton.h"
#include "widgets/GradientPanel.h"
#include "widgets/LessonListBox.h"
#include "widgets/PressablePicture.h"
#include "app/Lektionenliste.h"
#include "learning/Geo.h"
#include "lesson/LessonHooks.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kMinWidth = 610;
constexpr int kMinHeight = 470;

QWidget* whitePanel(QWidget* parent, const QString& name, QSize size)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setFixedSize(size);
    FillBackground(panel, Qt::white);
    return panel;
}

QWidget* page(QStackedWidget* pages, const QString& name)
{
    auto* widget = new QWidget;
    widget->setObjectName(name);
    pages->addWidget(widget);
    return widget;
}

QLabel* label(const QString& name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

QPushButton* pushButton(const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    return b;
}

} // namespace

Tfrm_main::Tfrm_main(const QString& programFolder) : Tfrm_main(ProgramFolders::PortableIn(programFolder)) {}

Tfrm_main::Tfrm_main(const ProgramFolders& folders)
    : lang(TLangDictionary::forWindow(QStringLiteral("Tfrm_main")))
{
    setObjectName(QStringLiteral("Tfrm_main"));
    lang.ExcludedProperties = {QStringLiteral("Version"), QStringLiteral("ActivePage"), QStringLiteral("Pages")};
    SetMainDictionary(&lang);
    SetErrorDialogCaptions([this](const QString& name) { return lang.dialogCaption(name); });
    setFont(ProgramFont());
    setMinimumSize(kMinWidth, kMinHeight);
    FillBackground(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolbars();
    for (GradientPanel* toolbar : m_toolbars)
        layout->addWidget(toolbar);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Seiten"));
    layout->addWidget(m_pages, 1);
    buildStartPage();
    buildCataloguePage();
    auto* lessonPage = page(m_pages, QStringLiteral("Lernen"));
    auto* lessonLayout = new QVBoxLayout(lessonPage);
    lessonLayout->setContentsMargins(0, 0, 0, 0);
    buildOptionsPage();
    buildInfoPage();
    m_pages->installEventFilter(this);
    connect(m_pages, &QStackedWidget::currentChanged, this, [this] { ArrangePages(); });
    connectActions();

    // The answer check reads the spelling option through its own switch.
    TOptionen::spellingSwitch = [](bool tolerant) { LessonHooks::SetSpellingTolerance(tolerant); };
    // Step 1: the message hook and the help hook.
    qApp->installEventFilter(this);
    HelpSystem::SetHelpHook([this] {
        if (lang.ActiveLanguage() != 3)
            return true;
        MessageDlg(lang, QStringLiteral("Sorry, at the moment no English help is available."),
                   MsgDlgType::mtInformation, mbOK);
        return false;
    });
    // Step 2.
    ShowPage(QStringLiteral("Start"));
    // Step 3.
    HelpSystem::SetHelpFile(folders.Shipped + QStringLiteral("geo.hlp"));
    try {
        // Step 4.
        const QString iniPath = folders.User + QStringLiteral("geo.ini");
        m_options = std::make_unique<TOptionen>(folders.User, std::make_unique<IniFile>(iniPath), folders.Shipped);
        applyWindowPlacement();

        attachDictionary(this, lang);
        lang.OnChangeLanguage = [this](TLangDictionary&) { langChangeLanguage(); };
        runStartUp();
        new TAustausch(*this); // the exchange of the editor catalogue
    } catch (...) {
        // A settings file that cannot be read ends the start; the hooks must
        // not outlive the window that never came to be.
        qApp->removeEventFilter(this);
        HelpSystem::SetHelpHook({});
        SetMainDictionary(nullptr);
        SetErrorDialogCaptions({});
        throw;
    }
}

Tfrm_main::~Tfrm_main()
{
    // Without a close event first (the program is ended from outside) a
    // lesson view may still be open. It goes now, while everything it refers
    // to is still there, and does not return to the catalogue on its way
    // out: the toolbars and the catalogue are about to go as well.
    if (TGeo* view = std::exchange(m_view, nullptr)) {
        view->OnDestroyed = nullptr;
        delete view;
    }
    qApp->removeEventFilter(this);
    if (m_options) {
        TOptionen::WindowPlacement placement;
        placement.maximized = isMaximized();
        placement.width = frameGeometry().width();
        placement.height = frameGeometry().height();
        try {
            m_options->SaveWindowPlacement(placement);
        } catch (const std::exception&) {
            // A read-only folder was reported when it was first written to.
        }
    }
    HelpSystem::SetHelpHook({}); // it asks this window's dictionary
    SetMainDictionary(nullptr);
    SetErrorDialogCaptions({});
}

void Tfrm_main::runStartUp()
{
    TOptionen& options = *m_options;
    const bool firstStart = !QFile::exists(options.iniFile().fileName()) || options.UserCount() < 1;
    bool firstStartNotStored = false;
    // Step 5: the first user.
    if (firstStart) {
        Tfrm_willkommen welcome(this);
        welcome.WelcomeMode = Tfrm_willkommen::FirstStart;
        welcome.PrepareShow();
        ExecModal(welcome);
        options.Language = welcome.SelectedLanguageIndex() + 1;
        try {
            options.SaveSettings();
            options.iniFile().WriteString(QStringLiteral("Users"), QStringLiteral("1"), welcome.EnteredName());
            options.SetLastUserNumber(1);
        } catch (const std::exception& error) {
            // A read-only program folder: say so once and go on with the
            // choices in memory.
            ShowException(error);
            firstStartNotStored = true;
        }
    }
    // Step 6.
    const int chosenLanguage = options.Language;
    options.LoadSettings();
    if (firstStartNotStored)
        options.Language = chosenLanguage;
    // Step 7: who is learning.
    if (options.UserCount() < 2) {
        options.SelectFirstUser();
    } else {
        Tfrm_willkommen welcome(this);
        welcome.WelcomeMode = Tfrm_willkommen::UserSelection;
        welcome.lang.SetActLang(options.Language);
        welcome.SetUsers(options.FillUserList());
        welcome.PrepareShow();
        ExecModal(welcome);
        options.UserNumber = TOptionen::EntryNumber(welcome.SelectedUserEntry()).toInt();
    }
    // Step 8: results of users that no longer exist.
    options.DeleteOrphanResultFiles();
    // Step 9.
    m_catalogue = std::make_unique<TLektionenList>(*m_lessonList, options.LessonFolders(),
                                                   [this] { return lang.ActiveLanguage(); });
    ShowToolbar(Toolbar(QStringLiteral("Toolbar_Haupt")));
    lang.SetActLang(options.Language);
    langChangeLanguage();
}

void Tfrm_main::applyWindowPlacement()
{
    const TOptionen::WindowPlacement placement = m_options->LoadWindowPlacement();
    // Stored as the outer size when the window goes, so restored as that too.
    new OuterSizeRestorer(*this, QSize(std::max(kMinWidth, placement.width), std::max(kMinHeight, placement.height)));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (placement.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void Tfrm_main::langChangeLanguage()
{
    const QPixmap logo = Artwork::LogoText(lang.ActiveLanguage());
    m_startLogoText->setPixmap(logo);
    const int height = qRound(logo.deviceIndependentSize().height());
    m_infoLogoText->setPixmap(Artwork::LogoText(lang.ActiveLanguage(), height * 2 / 3));
    QApplication::setApplicationName(QStringLiteral("Orbilo"));
    ShowLearnerInTitle();
}

void Tfrm_main::ShowLearnerInTitle()
{
    // Several people share one installation: the title says who is learning.
    const QString base = windowTitle().section(QStringLiteral(" – "), 0, 0);
    const QString learner = m_options ? m_options->CurrentUserName() : QString();
    const QString title = learner.isEmpty() ? base : base + QStringLiteral(" – ") + learner;
    if (title != windowTitle())
        setWindowTitle(title);
}

void Tfrm_main::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The dictionary sets the bare title whenever it is applied again.
    if (event->type() == QEvent::WindowTitleChange)
        ShowLearnerInTitle();
}

// ---------------------------------------------------------------- toolbars

GradientPanel* Tfrm_main::addToolbar(const QString& name, const std::vector<std::pair<QString, QString>>& buttons)
{
    auto* toolbar = new GradientPanel(this);
    toolbar->setObjectName(name);
    toolbar->setFixedHeight(34);
    auto* row = new QHBoxLayout(toolbar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    for (const auto& [buttonName, glyph] : buttons) {
        auto* button = new FlatButton(buttonName, Artwork::Glyph(glyph), toolbar);
        row->addWidget(button);
        m_buttons.insert(buttonName, button);
    }
    row->addStretch();
    toolbar->hide();
    m_toolbars.push_back(toolbar);
    return toolbar;
}

void Tfrm_main::buildToolbars()
{
    addToolbar(QStringLiteral("Toolbar_Haupt"), {{"Btn_Haupt_Lernen", "learn"}, {"Btn_Haupt_Editor", "editor"},
                                                 {"btn_Haupt_Config", "options"}, {"Btn_Haupt_Hilfe", "help"},
                                                 {"Btn_Haupt_Info", "info"}, {"Btn_Haupt_Beenden", "quit"}});
    addToolbar(QStringLiteral("Toolbar_Lektionen"), {{"Btn_Lektionen_Zurueck", "back"}, {"Btn_Lektionen_Start", "start"}});
    addToolbar(QStringLiteral("Toolbar_LektionenEditor"),
               {{"btn_LEditor_Zurueck", "back"}, {"btn_LEditor_Edit", "editor"}, {"btn_LEditor_Neu", "new"},
                {"btn_LEditor_Delete", "delete"}, {"btn_LEditor_Austausch", "exchange"}});
    addToolbar(QStringLiteral("Toolbar_Lernen"), {{"btn_Lernen_Zurueck", "back"}, {"btn_Lernen_Ergebnis", "result"},
                                                  {"btn_Lernen_Tip", "tip"}, {"btn_Lernen_Aufloesen", "answers"}});
    addToolbar(QStringLiteral("Toolbar_Editor"),
               {{"btn_Editor_Zurueck", "back"}, {"btn_Editor_Speichern", "save"}, {"btn_Editor_Allgemeines", "general"},
                {"btn_Editor_Karte", "map"}, {"btn_Editor_Kategorien", "categories"}, {"btn_Editor_Fragen", "questions"}});
    addToolbar(QStringLiteral("Toolbar_Config"), {{"btn_Config_Zurueck", "back"}, {"btn_Config_Allgemeines", "general"},
                                                  {"btn_Config_Users", "users"}});
    addToolbar(QStringLiteral("Toolbar_Export"), {{"btn_Export_Zurueck", "back"}, {"btn_Export_Export", "export"}});

    // The tip and the answers buttons belong to one learning mode each; the
    // learning view shows them.
    Button(QStringLiteral("btn_Lernen_Tip"))->hide();
    Button(QStringLiteral("btn_Lernen_Aufloesen"))->hide();

    m_editorPages = new QButtonGroup(this);
    int number = 0;
    for (const char* name : {"btn_Editor_Allgemeines", "btn_Editor_Karte", "btn_Editor_Kategorien", "btn_Editor_Fragen"}) {
        FlatButton* button = Button(QString::fromLatin1(name));
        button->setCheckable(true);
        m_editorPages->addButton(button, number++);
    }
    m_configPages = new QButtonGroup(this);
    number = 0;
    for (const char* name : {"btn_Config_Allgemeines", "btn_Config_Users"}) {
        FlatButton* button = Button(QString::fromLatin1(name));
        button->setCheckable(true);
        m_configPages->addButton(button, number++);
    }
}

GradientPanel* Tfrm_main::Toolbar(const QString& name) const
{
    for (GradientPanel* toolbar : m_toolbars)
        if (toolbar->objectName() == name)
            return toolbar;
    return nullptr;
}

FlatButton* Tfrm_main::Button(const QString& name) const { return m_buttons.value(name); }

void Tfrm_main::ShowToolbar(GradientPanel* toolbar)
{
    // The page control sits in the window's column under the toolbars, so it
    // always fills exactly the space below the one visible toolbar.
    if (m_visibleToolbar && m_visibleToolbar != toolbar)
        m_visibleToolbar->hide();
    m_visibleToolbar = toolbar;
    if (toolbar)
        toolbar->show();
    for (GradientPanel* bar : m_toolbars)
        for (FlatButton* button : bar->findChildren<FlatButton*>())
            button->setEnabled(bar == toolbar);
    layout()->activate();
    ArrangePages();
}

// ------------------------------------------------------------------- pages

void Tfrm_main::ShowPage(const QString& name)
{
    if (QWidget* target = m_pages->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly))
        m_pages->setCurrentWidget(target);
    ArrangePages();
}

QString Tfrm_main::CurrentPage() const { return m_pages->currentWidget() ? m_pages->currentWidget()->objectName() : QString(); }

QWidget* Tfrm_main::LessonPage() const { return m_pages->findChild<QWidget*>(QStringLiteral("Lernen"), Qt::FindDirectChildrenOnly); }

void Tfrm_main::buildStartPage()
{
    QWidget* start = page(m_pages, QStringLiteral("Start"));
    m_startPanel = whitePanel(start, QStringLiteral("pn_Start"), QSize(356, 260));
    // The logo pieces side by side: the globe, and the wording of the language.
    auto* globe = label(QStringLiteral("img_LogoGlobe"), m_startPanel);
    globe->setPixmap(Artwork::LogoGlobe());
    globe->setGeometry(8, 40, 150, 180);
    m_startLogoText = label(QStringLiteral("img_LogoText"), m_startPanel);
    m_startLogoText->setGeometry(158, 40, 190, 180);
}

void Tfrm_main::buildCataloguePage()
{
    QWidget* catalogue = page(m_pages, QStringLiteral("Lektionen"));
    m_cataloguePanel = new QWidget(catalogue);
    m_cataloguePanel->setObjectName(QStringLiteral("Lektionspanel"));
    m_cataloguePanel->setFixedWidth(590);

    // Learning: six continent pictures in a row, the chosen group's name under them.
    m_continentRow = new QWidget(m_cataloguePanel);
    m_continentRow->setObjectName(QStringLiteral("pn_Kontinente"));
    m_continentRow->setGeometry(0, 8, 590, 98);
    const std::pair<const char*, const char*> continents[] = {
        {"img_Nordamerika", "nordamerika"}, {"img_Suedamerika", "suedamerika"}, {"img_Europa", "europa"},
        {"img_Asien", "asien"},             {"img_Afrika", "afrika"},           {"img_Sonstiges", "sonstiges"}};
    int number = 1;
    for (const auto& [name, picture] : continents) {
        auto* image = new PressablePicture(QString::fromLatin1(name), number, m_continentRow);
        image->setPixmap(Artwork::Picture(QStringLiteral("continents/") + QString::fromLatin1(picture), {}));
        image->setGeometry(5 + (number - 1) * 97, 0, 90, 70);
        image->OnClick = [this](PressablePicture& clicked) { Guarded([this, &clicked] { ChooseContinent(clicked); })(); };
        m_continents.push_back(image);
        ++number;
    }
    m_groupLabel = label(QStringLiteral("lbl_Kategorie"), m_continentRow);
    m_groupLabel->setGeometry(0, 72, 590, 17);
    m_groupLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    // Editor: the group as a combo box.
    m_categoriesLabel = label(QStringLiteral("lbl_Kat"), m_cataloguePanel);
    m_categoriesLabel->setGeometry(5, 14, 80, 21);
    m_categories = new QComboBox(m_cataloguePanel);
    m_categories->setObjectName(QStringLiteral("Kat"));
    m_categories->setGeometry(90, 12, 250, 24);
    m_categoriesLabel->setBuddy(m_categories);

    m_listPanel = new QWidget(m_cataloguePanel);
    m_listPanel->setObjectName(QStringLiteral("pn_list_Lektionen"));
    auto* listLayout = new QVBoxLayout(m_listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    m_lessonList = new LessonListBox(QStringLiteral("lektionen"), m_listPanel);
    listLayout->addWidget(m_lessonList);
}

void Tfrm_main::buildOptionsPage()
{
    QWidget* options = page(m_pages, QStringLiteral("Optionen"));
    auto* outer = new QVBoxLayout(options);
    outer->setContentsMargins(20, 16, 20, 16);
    m_optionPages = new QStackedWidget(options);
    m_optionPages->setObjectName(QStringLiteral("nb_optionen"));
    outer->addWidget(m_optionPages);

    auto* general = new QWidget;
    general->setObjectName(QStringLiteral("pg_Allgemeines"));
    auto* g = new QVBoxLayout(general);
    g->setContentsMargins(0, 0, 0, 0);
    auto* languageLabel = label(QStringLiteral("lbl_Sprache"), general);
    m_languages = new EntryListBox(QStringLiteral("Sprachwahl"), EntryListBox::Kind::Language, general);
    m_languages->setFixedSize(300, 3 * 17 + 4);
    languageLabel->setBuddy(m_languages);
    m_spelling = new QCheckBox(general);
    m_spelling->setObjectName(QStringLiteral("cb_spelling"));
    m_showFlags = new QCheckBox(general);
    m_showFlags->setObjectName(QStringLiteral("ShowFlagAbfrage"));
    g->addWidget(languageLabel);
    g->addWidget(m_languages);
    g->addSpacing(14);
    g->addWidget(m_spelling);
    g->addWidget(m_showFlags);
    g->addStretch();
    m_optionPages->addWidget(general);

    auto* usersPage = new QWidget;
    usersPage->setObjectName(QStringLiteral("pg_Benutzer"));
    auto* u = new QGridLayout(usersPage);
    u->setContentsMargins(0, 0, 0, 0);
    auto* usersLabel = label(QStringLiteral("lbl_Benutzer"), usersPage);
    m_users = new EntryListBox(QStringLiteral("Benutzer"), EntryListBox::Kind::User, usersPage);
    m_users->setMinimumSize(300, 200);
    usersLabel->setBuddy(m_users);
    m_userNew = pushButton(QStringLiteral("User_New"), usersPage);
    m_userDelete = pushButton(QStringLiteral("User_Delete"), usersPage);
    m_userRename = pushButton(QStringLiteral("User_Rename"), usersPage);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_userNew, m_userDelete, m_userRename}) {
        b->setMinimumWidth(160);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    u->addWidget(usersLabel, 0, 0);
    u->addWidget(m_users, 1, 0);
    u->addLayout(buttons, 1, 1);
    u->setColumnStretch(0, 1);
    u->setRowStretch(1, 1);
    m_optionPages->addWidget(usersPage);
}

void Tfrm_main::buildInfoPage()
{
    QWidget* info = page(m_pages, QStringLiteral("Info"));
    m_infoPanel = whitePanel(info, QStringLiteral("pn_Info"), QSize(480, 330));
    auto* globe = label(QStringLiteral("img_InfoGlobe"), m_infoPanel);
    globe->setPixmap(Artwork::LogoGlobe(120));
    globe->setGeometry(16, 12, 100, 120);
    m_infoLogoText = label(QStringLiteral("img_InfoLogo"), m_infoPanel);
    m_infoLogoText->setGeometry(120, 12, 130, 120);

    auto* text = new QVBoxLayout;
    for (const char* name : {"lbl_InfoProgramm", "lbl_InfoKontakt", "lbl_InfoQuellen"}) {
        QLabel* l = label(QString::fromLatin1(name), m_infoPanel);
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->addWidget(l);
    }
    auto* box = new QWidget(m_infoPanel);
    box->setGeometry(20, 136, 440, 140);
    box->setLayout(text);
    m_infoOk = pushButton(QStringLiteral("btn_InfoOk"), m_infoPanel);
    m_infoOk->setGeometry(480 - 16 - 85, 330 - 14 - 27, 85, 27);
    m_infoOk->setEnabled(false);
}

void Tfrm_main::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangePages();
}

void Tfrm_main::ArrangePages()
{
    if (!m_pages)
        return;
    const QSize area = m_pages->size();
    const QString current = CurrentPage();
    if (current == u"Start") {
        m_startPanel->move((area.width() - m_startPanel->width()) / 2, (area.height() - m_startPanel->height()) / 2);
    } else if (current == u"Info") {
        m_infoPanel->move((area.width() - m_infoPanel->width()) / 2, (area.height() - m_infoPanel->height()) / 2);
    } else if (current == u"Lektionen") {
        m_cataloguePanel->setFixedHeight(std::max(0, area.height() - 10));
        m_cataloguePanel->move((area.width() - m_cataloguePanel->width()) / 2, 5);
        const int top = EditorMode ? m_categories->geometry().bottom() + 1 + 15
                                   : m_continentRow->geometry().top() + m_continents.front()->geometry().bottom() + 1 + 20;
        m_listPanel->setGeometry(0, top, m_cataloguePanel->width(), std::max(0, m_cataloguePanel->height() - 35 - top));
    }
}

// ----------------------------------------------------------------- actions

void Tfrm_main::connectActions()
{
    auto on = [this](const char* name, void (Tfrm_main::*handler)()) {
        connect(Button(QString::fromLatin1(name)), &QToolButton::clicked, this, Guarded([this, handler] { (this->*handler)(); }));
    };
    on("Btn_Haupt_Lernen", &Tfrm_main::Btn_Haupt_LernenClick);
    on("Btn_Haupt_Editor", &Tfrm_main::Btn_Haupt_EditorClick);
    on("btn_Haupt_Config", &Tfrm_main::btn_Haupt_ConfigClick);
    on("Btn_Haupt_Info", &Tfrm_main::Btn_Haupt_InfoClick);
    on("Btn_Lektionen_Zurueck", &Tfrm_main::BackToStart);
    on("btn_LEditor_Zurueck", &Tfrm_main::BackToStart);
    on("btn_Config_Zurueck", &Tfrm_main::btn_Config_ZurueckClick);
    on("btn_Export_Zurueck", &Tfrm_main::btn_Export_ZurueckClick);
    on("btn_Lernen_Zurueck", &Tfrm_main::CloseLessonView);
    on("btn_Editor_Zurueck", &Tfrm_main::CloseLessonView);
    on("btn_LEditor_Delete", &Tfrm_main::DeleteLesson);
    connect(Button(QStringLiteral("Btn_Lektionen_Start")), &QToolButton::clicked, this, Guarded([this] { StartOrEdit(); }));
    connect(Button(QStringLiteral("btn_LEditor_Edit")), &QToolButton::clicked, this, Guarded([this] { StartOrEdit(); }));
    connect(Button(QStringLiteral("btn_LEditor_Neu")), &QToolButton::clicked, this, Guarded([this] {
        const int choice = NewLessonDialog();
        if (choice >= 1 && choice <= 3)
            StartOrEdit(choice);
    }));
    connect(m_lessonList, &QListWidget::itemDoubleClicked, this, Guarded([this] { StartOrEdit(); }));
    // Enter on the list acts like the double click.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), m_lessonList, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, Guarded([this] { StartOrEdit(); }));
    }
    connect(m_categories, &QComboBox::currentIndexChanged, this, Guarded([this](int index) {
        if (index >= 0)
            m_catalogue->SetFilter(index + 1);
    }));
    connect(Button(QStringLiteral("Btn_Haupt_Hilfe")), &QToolButton::clicked, this, [] { HelpSystem::ShowContents(); });
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [] { HelpSystem::ShowContents(); });
    connect(Button(QStringLiteral("Btn_Haupt_Beenden")), &QToolButton::clicked, this, &QWidget::close);
    connect(Button(QStringLiteral("btn_Lernen_Ergebnis")), &QToolButton::clicked, this,
            Guarded([this] { if (m_view) m_view->ShowResult(); }));
    connect(Button(QStringLiteral("btn_Lernen_Tip")), &QToolButton::clicked, this,
            Guarded([this] { if (m_view) m_view->RouteTip(); }));
    connect(Button(QStringLiteral("btn_Editor_Speichern")), &QToolButton::clicked, this,
            Guarded([this] { if (m_view) m_view->Save(); }));
    connect(m_editorPages, &QButtonGroup::idClicked, this, Guarded([this](int number) { if (m_view) m_view->ShowPage(number); }));
    connect(m_configPages, &QButtonGroup::idClicked, m_optionPages, &QStackedWidget::setCurrentIndex);
    connect(m_infoOk, &QPushButton::clicked, this, Guarded([this] { btn_InfoOkClick(); }));
    connect(m_userNew, &QPushButton::clicked, this, Guarded([this] { User_NewClick(); }));
    connect(m_userDelete, &QPushButton::clicked, this, Guarded([this] { User_DeleteClick(); }));
    connect(m_userRename, &QPushButton::clicked, this, Guarded([this] { User_RenameClick(); }));
    connect(m_users, &QListWidget::itemSelectionChanged, this, [this] { UpdateUserButtons(); });
    // Picking a language shows it at once; leaving the page stores it.
    connect(m_languages, &QListWidget::currentRowChanged, this, Guarded([this](int row) {
        if (row >= 0 && CurrentPage() == u"Optionen")
            lang.SetActLang(row + 1);
    }));
}

void Tfrm_main::BackToStart()
{
    ShowToolbar(Toolbar(QStringLiteral("Toolbar_Haupt")));
    ShowPage(QStringLiteral("Start"));
}

void Tfrm_main::ShowCatalogue(bool editor)
{
    // Learning picks the group by the continent pictures, the editor by `Kat`.
    EditorMode = editor;
    if (editor)
        ExportMode = false;
    ShowToolbar(Toolbar(editor ? QStringLiteral("Toolbar_LektionenEditor") : QStringLiteral("Toolbar_Lektionen")));
    m_continentRow->setVisible(!editor);
    m_categories->setVisible(editor && !ExportMode);
    m_categoriesLabel->setVisible(editor && !ExportMode);
    ShowPage(QStringLiteral("Lektionen"));
}

void Tfrm_main::Btn_Haupt_LernenClick()
{
    ShowCatalogue(false);
    ChooseContinent(*m_continents.front());
    m_lessonList->setFocus();
}

void Tfrm_main::ChooseContinent(PressablePicture& picture)
{
    QFont bold = m_groupLabel->font();
    bold.setBold(true);
    m_groupLabel->setFont(bold);
    m_groupLabel->setText(picture.toolTip());
    m_catalogue->SetFilter(picture.Number());
}

void Tfrm_main::Btn_Haupt_EditorClick()
{
    ShowCatalogue(true);
    if (m_categories->count() > 0) {
        const QSignalBlocker block(m_categories);
        m_categories->setCurrentIndex(0);
    }
    m_catalogue->SetFilter(1);
    m_lessonList->setFocus();
}

void Tfrm_main::btn_Export_ZurueckClick() { ShowCatalogue(true); }

void Tfrm_main::btn_Haupt_ConfigClick()
{
    {
        const QSignalBlocker block(m_languages);
        m_languages->setCurrentRow(m_options->Language - 1);
    }
    m_users->setEntries(m_options->FillUserList());
    m_spelling->setChecked(m_options->Spelling());
    m_showFlags->setChecked(m_options->ShowFlagAbfrage);
    ShowPage(QStringLiteral("Optionen"));
    ShowToolbar(Toolbar(QStringLiteral("Toolbar_Config")));
    Button(QStringLiteral("btn_Config_Allgemeines"))->click();
    UpdateUserButtons();
    m_languages->setFocus();
}

void Tfrm_main::btn_Config_ZurueckClick()
{
    TOptionen& options = *m_options;
    options.Language = std::max(0, m_languages->currentRow()) + 1;
    options.SetSpelling(m_spelling->isChecked());
    options.ShowFlagAbfrage = m_showFlags->isChecked();
    ShowToolbar(Toolbar(QStringLiteral("Toolbar_Haupt")));
    lang.SetActLang(options.Language);
    ShowPage(QStringLiteral("Start"));
    // Writing last: a failed write is shown, and the program goes on with
    // the settings in memory.
    options.SaveUserList(m_users->entries());
    options.SaveSettings();
    ShowLearnerInTitle();
}

void Tfrm_main::Btn_Haupt_InfoClick()
{
    ShowToolbar(nullptr);
    ShowPage(QStringLiteral("Info"));
    m_infoOk->setEnabled(true);
    m_infoOk->setFocus();
}

void Tfrm_main::btn_InfoOkClick()
{
    ShowToolbar(Toolbar(QStringLiteral("Toolbar_Haupt")));
    ShowPage(QStringLiteral("Start"));
    m_infoOk->setEnabled(false);
}

void Tfrm_main::UpdateUserButtons()
{
    const bool selected = !m_users->selectedItems().isEmpty();
    m_userDelete->setEnabled(selected);
    m_userRename->setEnabled(selected);
    m_userNew->setEnabled(true);
}

void Tfrm_main::User_NewClick()
{
    QString name;
    if (!InputQuery(lang, lang.GetText(QStringLiteral("newuser_prompt")), lang.GetText(QStringLiteral("newuser_input")), name))
        return;
    const int number = m_options->LastUserNumber() + 1;
    m_users->addItem(name + u'|' + QString::number(number));
    m_options->SetLastUserNumber(number);
}

void Tfrm_main::User_DeleteClick()
{
    const int row = m_users->currentRow();
    if (row < 0)
        return;
    const QString name = EntryListBox::namePart(m_users->entry(row));
    const QString question = QString(lang.GetText(QStringLiteral("format_user_delete"))).replace(QStringLiteral("%s"), name);
    if (MessageDlg(lang, question, MsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    delete m_users->takeItem(row);
    m_users->clearSelection();
    UpdateUserButtons();
}

void Tfrm_main::User_RenameClick()
{
    const int row = m_users->currentRow();
    if (row < 0)
        return;
    const QString entry = m_users->entry(row);
    QString name = EntryListBox::namePart(entry);
    if (!InputQuery(lang, lang.GetText(QStringLiteral("renameuser_prompt")), lang.GetText(QStringLiteral("renameuser_input")), name))
        return;
    m_users->item(row)->setText(name + u'|' + EntryListBox::numberPart(entry));
}

// ------------------------------------------------------- lesson view, close

void Tfrm_main::CloseLessonView()
{
    if (m_view)
        m_view->Close();
}

void Tfrm_main::ReturnToCatalogue()
{
    ShowCatalogue(EditorMode);
    if (EditorMode)
        m_catalogue->Refill(); // a new or deleted lesson must appear
    m_view = nullptr;
    // The focus went with the view; give the keyboard its list back.
    m_lessonList->setFocus();
}

bool Tfrm_main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == kEndOfSessionMessage) {
        Guarded([this] { CloseLessonView(); })();
        return true;
    }
    if (watched == m_pages && event->type() == QEvent::Resize)
        ArrangePages();
    return QWidget::eventFilter(watched, event);
}

void Tfrm_main::closeEvent(QCloseEvent* event)
{
    // A learning view shows and stores its result first; one whose result
    // could not be stored is released all the same: the program is ending
    // and the learner has been told. An editor whose author chose to stay
    // (Cancel when asked to save, or a save that failed) keeps the program
    // open.
    bool stay = false;
    if (m_view)
        Guarded([this, &stay] {
            if (!m_view->Close() && m_view) {
                if (m_view->CloseRefused())
                    stay = true;
                else
                    m_view->TGeo::Close();
            }
        })();
    if (stay) {
        event->ignore();
        return;
    }
    HelpSystem::SetHelpHook({});
    event->accept();
}
