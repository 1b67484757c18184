#include "results/Ergebnisse.h"

#include "widgets/Background.h"
#include "i18n/DictionaryApplier.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/OrbiloError.h"
#include "platform/Optionen.h"
#include "results/ChartBar.h"
#include "results/Ergebnis.h"
#include "results/GeoChart.h"
#include "results/ResultTexts.h"
#include "widgets/Artwork.h"
#include "widgets/FlatButton.h"
#include "widgets/GradientPanel.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 440;
constexpr int kHeight = 396;
constexpr int kTopBar = 42;
constexpr int kBottomBar = 37;
constexpr int kLabelHeight = 16;
const QRect kListPlace(17, 18, 408, 283);

QLabel* addLabel(QWidget* page, const char* name, int left, int top, int width, bool bold)
{
    auto* label = new QLabel(page);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, top, width, kLabelHeight);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// A small bar chart for the chart page's button; the glyph set has none.
QIcon chartGlyph()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawLine(2, 17, 18, 17);
    const int heights[] = {6, 11, 8, 14};
    for (int i = 0; i < 4; ++i) {
        const QRect bar(3 + i * 4, 17 - heights[i], 3, heights[i]);
        painter.fillRect(bar, i == 3 ? QColor(0xFF, 0xFF, 0x00) : QColor(0x00, 0x80, 0x00));
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
    }
    return QIcon(pixmap);
}

// Rows of a table, for the comparison page's button.
QIcon listGlyph()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(QRect(2, 3, 16, 14), Qt::white);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(2, 3, 15, 13);
    painter.fillRect(QRect(3, 4, 14, 3), QColor(0x4A, 0x7E, 0xBB));
    for (int y = 9; y <= 14; y += 3)
        painter.drawLine(4, y, 15, y);
    return QIcon(pixmap);
}

} // namespace

Tfrm_Ergebnis::Tfrm_Ergebnis(QWidget* parent)
    : QDialog(parent), lang(TLangDictionary::forWindow(QStringLiteral("Tfrm_Ergebnis")))
{
    setObjectName(QStringLiteral("Tfrm_Ergebnis"));
    lang.DoRaiseExceptions = true;
    setFont(ProgramFont());
    setFixedSize(kWidth, kHeight);
    FillBackground(this);

    auto* top = new GradientPanel(this);
    top->setObjectName(QStringLiteral("pn_Top"));
    top->setGeometry(0, 0, kWidth, kTopBar);
    m_pageButtons = new QButtonGroup(this);
    m_pageButtons->setExclusive(true);
    const struct {
        const char* name;
        QIcon glyph;
        int left;
    } pageButtons[] = {{"btn_Ergebnis", Artwork::Glyph(QStringLiteral("result")), 5},
                       {"btn_Vergleich", listGlyph(), 106},
                       {"btn_Grafik", chartGlyph(), 207}};
    int page = 0;
    for (const auto& b : pageButtons) {
        auto* button = new FlatButton(QString::fromLatin1(b.name), b.glyph, top);
        button->move(b.left, (kTopBar - button->height()) / 2);
        button->setCheckable(true);
        m_pageButtons->addButton(button, page++);
    }
    connect(m_pageButtons, &QButtonGroup::idClicked, this, [this](int number) { ShowPage(number); });

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Seiten"));
    m_pages->setGeometry(0, kTopBar, kWidth, kHeight - kTopBar - kBottomBar);

    auto* resultPage = new QWidget;
    resultPage->setObjectName(QStringLiteral("page_Ergebnis"));
    const struct {
        const char* caption;
        const char* value;
        int top;
    } rows[] = {{"Label5", "lbl_person", 18}, {"Label1", "lbl_richtig", 48}, {nullptr, "lbl_falsch", 66},
                {"Label2", "lbl_prozent", 101}, {"Label3", "lbl_zeit", 162}, {nullptr, "lbl_dauer", 180},
                {nullptr, "lbl_dauerfrage", 198}, {"Label4", "lbl_note", 244}};
    for (const auto& row : rows) {
        if (row.caption)
            addLabel(resultPage, row.caption, 20, row.top, 85, true);
        addLabel(resultPage, row.value, 107, row.top, kWidth - 107 - 8, false);
    }
    const QLabel* percent = resultPage->findChild<QLabel*>(QStringLiteral("lbl_prozent"));
    m_bar = new TChartBar(resultPage);
    m_bar->setObjectName(QStringLiteral("ChartBar"));
    m_bar->setGeometry(percent->x(), percent->geometry().bottom() + 1 + 5, 304, 12);
    m_bar->SetStartColor(0x0000FF);
    m_bar->SetEndColor(0x008000);
    m_bar->SetMargin(2);
    m_bar->SetGap(2);
    m_bar->SetShowText(false);
    m_bar->SetSunken(true);
    m_bar->SetBackground(0xEEEEEE);
    m_bar->SetSegmentCount(30);
    m_pages->addWidget(resultPage);

    auto* listPage = new QWidget;
    listPage->setObjectName(QStringLiteral("page_Vergleich"));
    auto* panel = new QFrame(listPage);
    panel->setObjectName(QStringLiteral("pn_List"));
    panel->setGeometry(kListPlace);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    m_list = new QTreeWidget(panel);
    m_list->setObjectName(QStringLiteral("ListVergleich"));
    m_list->setColumnCount(6);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->header()->setSectionsClickable(false);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(false);
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, Qt::white);
    m_list->setPalette(listPalette);
    const int widths[] = {105, 46, 46, 60, 50, 81};
    for (int column = 0; column < 6; ++column)
        m_list->setColumnWidth(column, widths[column]);
    panelLayout->addWidget(m_list);
    m_pages->addWidget(listPage);

    auto* chartPage = new QWidget;
    chartPage->setObjectName(QStringLiteral("page_Grafik"));
    m_pages->addWidget(chartPage);

    // The chart lies where the list is and shows when the page control hides.
    m_chart = new TGeoChart(this);
    m_chart->setObjectName(QStringLiteral("Chart"));
    m_chart->setGeometry(kListPlace.translated(0, kTopBar));
    m_chart->SetRows(&m_rows);
    m_chart->hide();

    auto* bottom = new GradientPanel(this);
    bottom->setObjectName(QStringLiteral("pn_Bottom"));
    bottom->setGeometry(0, kHeight - kBottomBar, kWidth, kBottomBar);
    auto* help = new FlatButton(QStringLiteral("SpeedButton3"), Artwork::Glyph(QStringLiteral("help")), bottom);
    help->move(5, (kBottomBar - help->height()) / 2);
    auto* ok = new FlatButton(QStringLiteral("SpeedButton1"), Artwork::Glyph(QStringLiteral("ok")), bottom);
    ok->move(kWidth - 5 - ok->width(), (kBottomBar - ok->height()) / 2);
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);

    attachDictionary(this, lang);
    ShowPage(0);
}

Tfrm_Ergebnis::~Tfrm_Ergebnis() = default;

void Tfrm_Ergebnis::keyPressEvent(QKeyEvent* event)
{
    // The Ok button is a flat tool button, never a dialog default: Enter
    // closes the window as Esc does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QLabel* Tfrm_Ergebnis::Label(const QString& name) const { return findChild<QLabel*>(name); }

FlatButton* Tfrm_Ergebnis::PageButton(int page) const { return static_cast<FlatButton*>(m_pageButtons->button(page)); }

int Tfrm_Ergebnis::CurrentPage() const { return m_pageButtons->checkedId(); }

void Tfrm_Ergebnis::ShowPage(int page)
{
    if (page < 0 || page > 2)
        return;
    m_pages->setCurrentIndex(page);
    m_pageButtons->button(page)->setChecked(true);
    const bool chart = page == 2;
    m_pages->setVisible(!chart);
    m_chart->setVisible(chart);
    if (chart)
        m_chart->SetRows(&m_rows);
}

void Tfrm_Ergebnis::Fill(const TErgebnis& result, const QString& userName, const QStringList& storedLines,
                         int language, const std::array<int, 6>& thresholds)
{
    lang.SetActLang(language);
    const TResultTexts texts = BuildResultTexts(result, userName, lang, thresholds);
    Label(QStringLiteral("lbl_person"))->setText(texts.person);
    Label(QStringLiteral("lbl_richtig"))->setText(texts.richtig);
    Label(QStringLiteral("lbl_falsch"))->setText(texts.falsch);
    Label(QStringLiteral("lbl_prozent"))->setText(texts.prozent);
    Label(QStringLiteral("lbl_zeit"))->setText(texts.zeit);
    Label(QStringLiteral("lbl_dauer"))->setText(texts.dauer);
    Label(QStringLiteral("lbl_dauerfrage"))->setText(texts.dauerfrage);
    Label(QStringLiteral("lbl_note"))->setText(texts.note);
    m_bar->SetPercent(result.SuccessRate());

    m_rows.clear();
    m_rows.reserve(storedLines.size() + 1);
    TResultRow row;
    for (const QString& line : storedLines)
        if (ParseResultLine(line, row))
            m_rows.push_back(row);
    if (ParseResultLine(result.ResultLine(), row))
        m_rows.push_back(row);
    fillList();
    ShowPage(0);
}

void Tfrm_Ergebnis::fillList()
{
    const QString minutes = lang.GetText(QStringLiteral("minute_short"));
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_rows.size()));
    for (const TResultRow& row : m_rows)
        items << new QTreeWidgetItem(QStringList{row.Date, QString::number(row.Correct), QString::number(row.Wrong),
                                                 QString::number(row.Percent) + QStringLiteral(" %"),
                                                 QString::number(row.Seconds / 60) + u' ' + minutes, row.Mode});
    m_list->clear();
    m_list->addTopLevelItems(items);
}

int Tfrm_Ergebnis::ShowResult(const TErgebnis& result, const QString& lessonFileName, const TOptionen& options,
                              int language)
{
    QStringList earlierRuns;
    try {
        earlierRuns = TResultFile(options).ReadLines(lessonFileName);
    } catch (const FileReadError& error) {
        // The run just finished is still shown; storing it will say it failed.
        ShowException(error);
    }
    Fill(result, options.CurrentUserName(), earlierRuns, language, options.GradeThresholds);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return ExecModal(*this);
}
