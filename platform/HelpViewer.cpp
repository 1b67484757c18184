#include "platform/HelpViewer.h"

#include "platform/AtomicFile.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// A non-modal help window: the help text with a search field and a button
// back to the contents page.
class HelpWindow : public QDialog {
public:
    explicit HelpWindow(const QString& helpFile)
    {
        setObjectName(QStringLiteral("HelpWindow"));
        setWindowTitle(QApplication::applicationName());
        resize(640, 560);
        auto* layout = new QVBoxLayout(this);
        auto* bar = new QHBoxLayout;
        auto* contents = new QPushButton(QStringLiteral("⌂"));
        contents->setToolTip(QStringLiteral("Inhalt / Contents"));
        contents->setFixedWidth(36);
        // Enter in the search field searches; it must not also go home.
        contents->setAutoDefault(false);
        m_search = new QLineEdit;
        m_search->setPlaceholderText(QStringLiteral("Suchen / Search"));
        m_search->setClearButtonEnabled(true);
        bar->addWidget(contents);
        bar->addWidget(m_search, 1);
        layout->addLayout(bar);
        m_browser = new QTextBrowser;
        m_browser->setOpenLinks(true);
        m_browser->setOpenExternalLinks(false);
        layout->addWidget(m_browser, 1);

        const QString html = TextCodec::decode(readWholeFile(helpFile));
        m_browser->setHtml(html.isEmpty() ? QStringLiteral("<p>%1</p>").arg(helpFile.toHtmlEscaped()) : html);
        connect(contents, &QPushButton::clicked, this, [this] { m_browser->scrollToAnchor(QStringLiteral("contents")); m_browser->moveCursor(QTextCursor::Start); });
        connect(m_search, &QLineEdit::returnPressed, this, [this] {
            if (!m_browser->find(m_search->text())) {
                m_browser->moveCursor(QTextCursor::Start);
                m_browser->find(m_search->text());
            }
        });
    }

private:
    QTextBrowser* m_browser;
    QLineEdit* m_search;
};

HelpSystem::HelpHook g_hook;
QString g_helpFile;
HelpSystem::ViewerOpener g_opener;
QPointer<HelpWindow> g_window;

void openRealViewer(const QString& helpFile)
{
    if (!g_window) {
        g_window = new HelpWindow(helpFile);
        g_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

} // namespace

namespace HelpSystem {

void SetHelpHook(HelpHook hook) { g_hook = std::move(hook); }
void SetHelpFile(const QString& path) { g_helpFile = path; }
const QString& HelpFile() { return g_helpFile; }
void SetViewerOpener(ViewerOpener opener) { g_opener = std::move(opener); }

bool ShowContents()
{
    if (g_hook && !g_hook())
        return false;
    if (g_opener)
        g_opener(g_helpFile);
    else
        openRealViewer(g_helpFile);
    return true;
}

} // namespace HelpSystem
