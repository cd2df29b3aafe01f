#include "office/Xml.h"
#include "office/Error.h"

#include <cstring>
#include <string>

namespace office {

void parseXml(pugi::xml_document& doc, const QByteArray& bytes, const QString& partName)
{
    const auto res = doc.load_buffer(bytes.constData(), size_t(bytes.size()),
                                     pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration,
                                     pugi::encoding_utf8);
    if (!res)
        throw Error(QStringLiteral("Часть книги «%1» повреждена: %2 (смещение %3)")
                        .arg(partName, qs(res.description()))
                        .arg(qlonglong(res.offset)));
}

QByteArray serializeXml(const pugi::xml_document& doc)
{
    struct Writer : pugi::xml_writer {
        QByteArray out;
        void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), qsizetype(size)); }
    } w;
    // The document keeps its own declaration (parsed with parse_declaration).
    doc.save(w, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return w.out;
}

const char* localName(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

bool isNamed(const pugi::xml_node& node, const char* local)
{
    return node.type() == pugi::node_element && std::strcmp(localName(node), local) == 0;
}

pugi::xml_node child(const pugi::xml_node& parent, const char* local)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (isNamed(c, local))
            return c;
    return {};
}

std::vector<pugi::xml_node> children(const pugi::xml_node& parent, const char* local)
{
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (isNamed(c, local))
            out.push_back(c);
    return out;
}

pugi::xml_node rootElement(const pugi::xml_document& doc)
{
    for (pugi::xml_node c = doc.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            return c;
    return {};
}

static std::string prefixedName(const pugi::xml_node& parent, const char* local)
{
    const char* name = parent.name();
    const char* colon = std::strchr(name, ':');
    std::string s = colon ? std::string(name, size_t(colon - name + 1)) : std::string();
    return s + local;
}

pugi::xml_node appendElement(pugi::xml_node parent, const char* local)
{
    return parent.append_child(prefixedName(parent, local).c_str());
}

pugi::xml_node insertElementBefore(pugi::xml_node parent, const char* local, const pugi::xml_node& before)
{
    if (!before)
        return appendElement(parent, local);
    return parent.insert_child_before(prefixedName(parent, local).c_str(), before);
}

pugi::xml_attribute prefixedAttribute(const pugi::xml_node& node, const char* local)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const char* colon = std::strchr(a.name(), ':');
        if (colon && std::strcmp(colon + 1, local) == 0 && std::strncmp(a.name(), "xmlns", 5) != 0)
            return a;
    }
    return {};
}

QString stringItemText(const pugi::xml_node& item)
{
    QString s;
    for (pugi::xml_node k = item.first_child(); k; k = k.next_sibling()) {
        if (isNamed(k, "t"))
            s += qs(k.text().get());
        else if (isNamed(k, "r"))
            s += qs(child(k, "t").text().get());
    }
    return s;
}

void setAttr(pugi::xml_node n, const char* name, const QString& value)
{
    pugi::xml_attribute a = n.attribute(name);
    if (!a)
        a = n.append_attribute(name);
    a.set_value(value.toUtf8().constData());
}

} // namespace office
