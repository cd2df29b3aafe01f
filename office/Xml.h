#pragma once
// pugixml helpers for the parts of a package. Elements are matched by their
// local name: writers choose different namespace prefixes ("x:c" or "c").
#include <QByteArray>
#include <QString>
#include <pugixml.hpp>
#include <vector>

namespace office {

// Throws office::Error naming the part when the XML does not parse.
void parseXml(pugi::xml_document& doc, const QByteArray& bytes, const QString& partName);
QByteArray serializeXml(const pugi::xml_document& doc);

const char* localName(const pugi::xml_node& node);
bool isNamed(const pugi::xml_node& node, const char* local);
pugi::xml_node child(const pugi::xml_node& parent, const char* local);
std::vector<pugi::xml_node> children(const pugi::xml_node& parent, const char* local);
// The root element of a document.
pugi::xml_node rootElement(const pugi::xml_document& doc);

// New element with the parent's namespace prefix.
pugi::xml_node appendElement(pugi::xml_node parent, const char* local);
pugi::xml_node insertElementBefore(pugi::xml_node parent, const char* local, const pugi::xml_node& before);

// An attribute matched by its local name with any prefix ("r:id").
pugi::xml_attribute prefixedAttribute(const pugi::xml_node& node, const char* local);

inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString attr(const pugi::xml_node& n, const char* name) { return qs(n.attribute(name).value()); }
void setAttr(pugi::xml_node n, const char* name, const QString& value);
// Text of a string item (<is> or <si>): its <t>, or its runs' <t>; phonetic
// runs are left out.
QString stringItemText(const pugi::xml_node& item);

} // namespace office
