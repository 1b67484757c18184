#pragma once

// A small XML document for the globe's environment: elements with ordered
// attributes, named children and text lines, written one element a line.

#include "globe/GlobeSysUtils.h"

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

class TGlobeXmlElement {
public:
    explicit TGlobeXmlElement(QString name) : m_name(std::move(name)) {}
    TGlobeXmlElement(const TGlobeXmlElement&) = delete;
    TGlobeXmlElement& operator=(const TGlobeXmlElement&) = delete;

    const QString& Name() const { return m_name; }

    // Setting an attribute that exists replaces its value in place.
    void SetAttribute(const QString& name, const QString& value);
    void SetIntAttribute(const QString& name, int64_t value);
    void SetRealAttribute(const QString& name, double value);
    void SetBoolAttribute(const QString& name, bool value);
    bool HasAttribute(const QString& name) const;
    QString Attribute(const QString& name, const QString& fallback = {}) const;
    // A missing or unreadable value gives the fallback.
    int32_t IntAttribute(const QString& name, int32_t fallback) const;
    double RealAttribute(const QString& name, double fallback) const;
    bool BoolAttribute(const QString& name, bool fallback) const;
    const std::vector<std::pair<QString, QString>>& Attributes() const { return m_attributes; }

    TGlobeXmlElement& AddElement(const QString& name);
    // The first child of that name, or none.
    TGlobeXmlElement* Element(const QString& name) const;
    int ElementCount() const { return static_cast<int>(m_children.size()); }
    TGlobeXmlElement& ElementAt(int i) const { return *m_children.at(static_cast<size_t>(i)); }

    TGlobeXmlElement& AddTextElement(const QString& name, const QStringList& lines);
    // Bytes as upper-case hexadecimal, two digits a byte.
    TGlobeXmlElement& AddBinaryElement(const QString& name, const QByteArray& bytes);
    void AddText(const QString& line) { m_text.append(line); }
    const QStringList& Text() const { return m_text; }
    // The bytes of a binary element; damaged hexadecimal raises EGlobeException.
    QByteArray BinaryData() const;

private:
    QString m_name;
    std::vector<std::pair<QString, QString>> m_attributes;
    std::vector<std::unique_ptr<TGlobeXmlElement>> m_children;
    QStringList m_text;
};

class TGlobeXmlDocument {
public:
    explicit TGlobeXmlDocument(const QString& rootName = QStringLiteral("Globe"));

    TGlobeXmlElement& Root() { return *m_root; }

    QByteArray ToText() const;
    // Replaces the root; a damaged document raises EGlobeException and
    // leaves the old root in place.
    void FromText(const QByteArray& text, const QString& origin = {});
    // Written through the platform's atomic file.
    void SaveToFile(const QString& fileName) const;
    void LoadFromFile(const QString& fileName);

private:
    std::unique_ptr<TGlobeXmlElement> m_root;
};
