#include "i18n/DictionaryApplier.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>

QStringList parseCommaText(const QString& text)
{
    QStringList items;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && text[i] == u' ')
            ++i;
        QString item;
        if (i < n && text[i] == u'"') {
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
            while (i < n && text[i] != u',')
                ++i;
        } else {
            while (i < n && text[i] != u',')
                item += text[i++];
        }
        items << item;
        if (i < n && text[i] == u',') {
            ++i;
            if (i == n)
                items << QString();
        }
    }
    return items;
}

namespace {

struct Target {
    QObject* object = nullptr;
    QString property; // empty for a plain caption/hint row
};

class Applier {
public:
    Applier(QWidget* window, const TLangDictionary& dictionary) : m_window(window), m_dict(dictionary) {}

    void run()
    {
        const TLangDictionary::Tables& t = m_dict.tables();
        applyWindowRows();
        forEachRow(t.Captions, [this](QObject* o, const QString& p, const QString& text) { setCaption(o, p, text); });
        forEachRow(t.Hints, [](QObject* o, const QString&, const QString& text) { setHint(o, text); });
        forEachRow(t.Fonts, [](QObject* o, const QString&, const QString& text) { setFontName(o, text); });
        forEachRow(t.MultiLines, [](QObject* o, const QString& p, const QString& text) { setLines(o, p, text); });
        forEachRow(t.OtherStrings, [](QObject* o, const QString& p, const QString& text) { setOther(o, p, text); });
        forEachRow(t.Collections, [](QObject* o, const QString& p, const QString& text) { setCollectionItem(o, p, text); });
    }

private:
    void applyWindowRows()
    {
        const QString& cls = m_dict.windowClass();
        if (m_dict.DoNotTranslate.contains(cls))
            return;
        for (const QString& entry : m_dict.tables().Captions)
            if (m_dict.entryKey(entry).compare(cls, Qt::CaseInsensitive) == 0) {
                m_window->setWindowTitle(m_dict.entryText(entry));
                break;
            }
        for (const QString& entry : m_dict.tables().Hints)
            if (m_dict.entryKey(entry).compare(cls, Qt::CaseInsensitive) == 0) {
                m_window->setToolTip(m_dict.entryText(entry));
                break;
            }
    }

    template <typename Setter>
    void forEachRow(const QStringList& table, Setter setter)
    {
        for (const QString& entry : table) {
            const QString key = m_dict.entryKey(entry);
            const qsizetype dot = key.indexOf(u'.');
            const QString name = dot < 0 ? key : key.left(dot);
            const QString property = dot < 0 ? QString() : key.mid(dot + 1);
            if (name.isEmpty() || m_dict.DoNotTranslate.contains(name))
                continue;
            if (!property.isEmpty() && m_dict.ExcludedProperties.contains(property.section(u'.', 0, 0)))
                continue;
            QObject* object = find(name);
            if (!object)
                continue; // a row naming no control is skipped
            setter(object, property, m_dict.entryText(entry));
        }
    }

    QObject* find(const QString& name) const
    {
        if (name.compare(m_dict.windowClass(), Qt::CaseInsensitive) == 0)
            return m_window;
        return m_window->findChild<QObject*>(name);
    }

    static bool viaInterface(QObject* o, const QString& property, const QString& text)
    {
        auto* control = dynamic_cast<TranslatableControl*>(o);
        return control && control->setTranslatedText(property, text);
    }

    void setCaption(QObject* o, const QString& property, const QString& text)
    {
        if (o == m_window)
            return; // the window's own row is applied first
        if (viaInterface(o, property.isEmpty() ? QStringLiteral("Caption") : property, text))
            return;
        if (auto* tool = qobject_cast<QToolButton*>(o); tool && tool->defaultAction())
            return; // bound to an action: the action carries the caption
        if (auto* button = qobject_cast<QAbstractButton*>(o))
            button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(o))
            label->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(o))
            group->setTitle(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(o))
            edit->setText(text);
        else if (auto* action = qobject_cast<QAction*>(o))
            action->setText(text);
        else if (auto* widget = qobject_cast<QWidget*>(o); widget && widget->isWindow())
            widget->setWindowTitle(text);
    }

    static void setHint(QObject* o, const QString& text)
    {
        if (viaInterface(o, QStringLiteral("Hint"), text))
            return;
        if (auto* widget = qobject_cast<QWidget*>(o))
            widget->setToolTip(text);
        else if (auto* action = qobject_cast<QAction*>(o))
            action->setToolTip(text);
    }

    static void setFontName(QObject* o, const QString& text)
    {
        if (auto* widget = qobject_cast<QWidget*>(o); widget && !text.isEmpty()) {
            QFont font = widget->font();
            font.setFamily(text);
            widget->setFont(font);
        }
    }

    static void setLines(QObject* o, const QString& property, const QString& text)
    {
        if (viaInterface(o, property, text))
            return;
        const QStringList items = parseCommaText(text);
        if (auto* combo = qobject_cast<QComboBox*>(o)) {
            const int current = combo->currentIndex();
            const QSignalBlocker block(combo);
            combo->clear();
            combo->addItems(items);
            combo->setCurrentIndex(current < combo->count() ? current : -1);
        } else if (auto* list = qobject_cast<QListWidget*>(o)) {
            const int current = list->currentRow();
            const QSignalBlocker block(list);
            list->clear();
            list->addItems(items);
            if (current < list->count())
                list->setCurrentRow(current);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(o)) {
            memo->setPlainText(items.join(u'\n'));
        }
    }

    static void setOther(QObject* o, const QString& property, const QString& text)
    {
        if (viaInterface(o, property, text))
            return;
        if (!property.isEmpty())
            o->setProperty(property.toLatin1().constData(), text);
    }

    static void setCollectionItem(QObject* o, const QString& property, const QString& text)
    {
        if (viaInterface(o, property, text))
            return;
        static const QRegularExpression column(QStringLiteral("^Columns\\[(\\d+)\\]\\.Caption$"),
                                               QRegularExpression::CaseInsensitiveOption);
        const auto match = column.match(property);
        if (!match.hasMatch())
            return;
        const int index = match.captured(1).toInt();
        if (auto* tree = qobject_cast<QTreeWidget*>(o)) {
            if (index < tree->columnCount())
                tree->headerItem()->setText(index, text);
        } else if (auto* table = qobject_cast<QTableWidget*>(o)) {
            if (index < table->columnCount())
                table->setHorizontalHeaderItem(index, new QTableWidgetItem(text));
        }
    }

    QWidget* m_window;
    const TLangDictionary& m_dict;
};

} // namespace

void applyDictionary(QWidget* window, const TLangDictionary& dictionary)
{
    Applier(window, dictionary).run();
}

void attachDictionary(QWidget* window, TLangDictionary& dictionary)
{
    dictionary.applier = [window](const TLangDictionary& d) { applyDictionary(window, d); };
    applyDictionary(window, dictionary);
}
