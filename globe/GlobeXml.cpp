#include "globe/GlobeXml.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {
// Deeper nesting than any environment needs is taken as hostile.
constexpr int kMaxDepth = 64;
// An environment is a few kilobytes; anything beyond this is not one.
constexpr qint64 kMaxDocumentSize = 64 * 1024 * 1024;

QString Escape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\n': out += QLatin1String("&#10;"); break;
        case '\r': out += QLatin1String("&#13;"); break;
        case '\t': out += QLatin1String("&#9;"); break;
        default: out += c;
        }
    }
    return out;
}

void Write(const TGlobeXmlElement& element, int depth, QString& out)
{
    const QString indent(depth, QLatin1Char(' '));
    out += indent + QLatin1Char('<') + element.Name();
    for (const auto& [name, value] : element.Attributes())
        out += QLatin1Char(' ') + name + QLatin1String("=\"") + Escape(value) + QLatin1Char('"');
    if (element.ElementCount() == 0 && element.Text().isEmpty()) {
        out += QLatin1String("/>\n");
        return;
    }
    out += QLatin1String(">\n");
    for (const QString& line : element.Text())
        out += indent + QLatin1Char(' ') + Escape(line) + QLatin1Char('\n');
    for (int i = 0; i < element.ElementCount(); ++i)
        Write(element.ElementAt(i), depth + 1, out);
    out += indent + QLatin1String("</") + element.Name() + QLatin1String(">\n");
}

void ReadAttributes(const QXmlStreamReader& xml, TGlobeXmlElement& element)
{
    for (const QXmlStreamAttribute& a : xml.attributes())
        element.SetAttribute(a.qualifiedName().toString(), a.value().toString());
}
} // namespace

// --- element ---

void TGlobeXmlElement::SetAttribute(const QString& name, const QString& value)
{
    for (auto& [key, v] : m_attributes)
        if (key == name) {
            v = value;
            return;
        }
    m_attributes.emplace_back(name, value);
}

void TGlobeXmlElement::SetIntAttribute(const QString& name, int64_t value)
{
    SetAttribute(name, QString::number(value));
}

void TGlobeXmlElement::SetRealAttribute(const QString& name, double value)
{
    SetAttribute(name, QString::number(value, 'g', 17));
}

void TGlobeXmlElement::SetBoolAttribute(const QString& name, bool value)
{
    SetAttribute(name, value ? QStringLiteral("True") : QStringLiteral("False"));
}

bool TGlobeXmlElement::HasAttribute(const QString& name) const
{
    for (const auto& a : m_attributes)
        if (a.first == name)
            return true;
    return false;
}

QString TGlobeXmlElement::Attribute(const QString& name, const QString& fallback) const
{
    for (const auto& [key, value] : m_attributes)
        if (key == name)
            return value;
    return fallback;
}

int32_t TGlobeXmlElement::IntAttribute(const QString& name, int32_t fallback) const
{
    bool ok = false;
    const int32_t v = Attribute(name).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

double TGlobeXmlElement::RealAttribute(const QString& name, double fallback) const
{
    bool ok = false;
    const double v = Attribute(name).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && std::isfinite(v) ? v : fallback;
}

bool TGlobeXmlElement::BoolAttribute(const QString& name, bool fallback) const
{
    const QString v = Attribute(name).trimmed();
    if (v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1"))
        return true;
    if (v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || v == QLatin1String("0"))
        return false;
    return fallback;
}

TGlobeXmlElement& TGlobeXmlElement::AddElement(const QString& name)
{
    m_children.push_back(std::make_unique<TGlobeXmlElement>(name));
    return *m_children.back();
}

TGlobeXmlElement* TGlobeXmlElement::Element(const QString& name) const
{
    for (const auto& child : m_children)
        if (child->Name() == name)
            return child.get();
    return nullptr;
}

TGlobeXmlElement& TGlobeXmlElement::AddTextElement(const QString& name, const QStringList& lines)
{
    TGlobeXmlElement& child = AddElement(name);
    child.m_text = lines;
    return child;
}

TGlobeXmlElement& TGlobeXmlElement::AddBinaryElement(const QString& name, const QByteArray& bytes)
{
    // Lines of 64 bytes keep the document readable.
    QStringList lines;
    for (qsizetype at = 0; at < bytes.size(); at += 64)
        lines.append(QString::fromLatin1(bytes.mid(at, 64).toHex().toUpper()));
    return AddTextElement(name, lines);
}

QByteArray TGlobeXmlElement::BinaryData() const
{
    const QByteArray hex = m_text.join(QString()).toLatin1();
    if (hex.size() % 2 != 0)
        throw EGlobeException(QStringLiteral("XML element %1: odd number of hexadecimal digits").arg(m_name));
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            throw EGlobeException(QStringLiteral("XML element %1: '%2' is no hexadecimal digit").arg(m_name, QChar(c)));
    return QByteArray::fromHex(hex);
}

// --- document ---

TGlobeXmlDocument::TGlobeXmlDocument(const QString& rootName) : m_root(std::make_unique<TGlobeXmlElement>(rootName))
{
}

QByteArray TGlobeXmlDocument::ToText() const
{
    QString out;
    Write(*m_root, 0, out);
    return out.toUtf8();
}

void TGlobeXmlDocument::FromText(const QByteArray& text, const QString& origin)
{
    QXmlStreamReader xml(text);
    std::unique_ptr<TGlobeXmlElement> root;
    std::vector<TGlobeXmlElement*> open;
    auto fail = [&](const QString& what) {
        throw EGlobeException(QStringLiteral("XML environment %1: %2 in line %3")
                                  .arg(origin.isEmpty() ? QStringLiteral("text") : origin, what)
                                  .arg(xml.lineNumber()));
    };
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = xml.qualifiedName().toString();
            if (open.empty()) {
                if (root)
                    fail(QStringLiteral("a second root element"));
                root = std::make_unique<TGlobeXmlElement>(name);
                open.push_back(root.get());
            } else {
                if (static_cast<int>(open.size()) >= kMaxDepth)
                    fail(QStringLiteral("elements nested deeper than %1").arg(kMaxDepth));
                open.push_back(&open.back()->AddElement(name));
            }
            ReadAttributes(xml, *open.back());
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty() && !xml.isWhitespace())
                for (const QString& line : xml.text().toString().split(QLatin1Char('\n')))
                    if (!line.trimmed().isEmpty())
                        open.back()->AddText(line.trimmed());
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        fail(xml.errorString());
    if (!root)
        fail(QStringLiteral("no root element"));
    m_root = std::move(root);
}

void TGlobeXmlDocument::SaveToFile(const QString& fileName) const { writeFileAtomically(fileName, ToText()); }

void TGlobeXmlDocument::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EGlobeException(QStringLiteral("Cannot open the XML environment %1").arg(fileName));
    if (file.size() > kMaxDocumentSize)
        throw EGlobeException(QStringLiteral("XML environment %1 is too large (%2 bytes)").arg(fileName).arg(file.size()));
    FromText(file.readAll(), QFileInfo(fileName).fileName());
}
