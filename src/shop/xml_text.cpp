// Trovecart - element text and attribute helpers.
#include "shop/xml_text.h"

#include <cstring>

#include "shop/shop_error.h"

namespace {

QString ElementName(const pugi::xml_node& element) {
    return FromXml(element.name());
}

} // namespace

QString ReadElementText(const pugi::xml_node& element) {
    const pugi::xml_node first = element.first_child();
    if (!first)
        return QString();
    if (first.next_sibling() || (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata))
        throw EShopContentError(
            QStringLiteral("Element \"%1\" must hold nothing but its text.").arg(ElementName(element)),
            element.offset_debug());
    return FromXml(first.value());
}

QString ReadChildText(const pugi::xml_node& parent, const char* childName, const QString& fallback) {
    const pugi::xml_node child = parent.child(childName);
    return child ? ReadElementText(child) : fallback;
}

pugi::xml_node AppendTextElement(pugi::xml_node parent, const char* name, const QString& text) {
    pugi::xml_node element = parent.append_child(name);
    const std::string value = ToXml(text);
    const bool fitsCdata = value.find("]]>") == std::string::npos;
    if (fitsCdata)
        element.append_child(pugi::node_cdata).set_value(value.c_str());
    else
        element.append_child(pugi::node_pcdata).set_value(value.c_str());
    return element;
}

pugi::xml_node AppendPlainElement(pugi::xml_node parent, const char* name, const QString& text) {
    pugi::xml_node element = parent.append_child(name);
    if (!text.isEmpty())
        element.append_child(pugi::node_pcdata).set_value(ToXml(text).c_str());
    return element;
}

QString RequiredAttribute(const pugi::xml_node& element, const char* name) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        throw EShopContentError(QStringLiteral("Element \"%1\" has no attribute \"%2\".")
                                    .arg(ElementName(element), FromXml(name)),
                                element.offset_debug());
    return FromXml(attribute.value());
}

int RequiredIntAttribute(const pugi::xml_node& element, const char* name) {
    const QString text = RequiredAttribute(element, name);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EShopContentError(
            QStringLiteral("Attribute \"%1\" of element \"%2\" holds \"%3\", which is not an integer.")
                .arg(FromXml(name), ElementName(element), text),
            element.offset_debug());
    return value;
}

pugi::xml_node RequiredChild(const pugi::xml_node& parent, const char* name) {
    const pugi::xml_node child = parent.child(name);
    if (!child)
        throw EShopContentError(
            QStringLiteral("Element \"%1\" has no child \"%2\".").arg(ElementName(parent), FromXml(name)),
            parent.offset_debug());
    return child;
}

void SetAttribute(pugi::xml_node element, const char* name, const QString& value) {
    element.append_attribute(name).set_value(ToXml(value).c_str());
}

void SetAttribute(pugi::xml_node element, const char* name, int value) {
    element.append_attribute(name).set_value(value);
}
