#include "xml/xml.h"

#include "services/text_case.h"

namespace {

bool in_range(const XmlNode* node, std::int32_t index)
{
    return node && node->attributes && index >= 0 && index < node->attribute_count;
}

}  // namespace

// Element and attribute names meet the dialog engine's upper-case keywords, which match
// by the ASCII rule.
bool xml_name_equal(const char16_t* a, const char16_t* b)
{
    return a && b && text_equal_ascii(a, b);
}

std::int32_t xml_node_kind(const XmlNode* node)
{
    return node ? node->kind : -1;
}

const char16_t* xml_node_name(const XmlNode* node)
{
    return node && node->name ? node->name : u"";
}

const char16_t* xml_node_text(const XmlNode* node)
{
    return node && node->text ? node->text : u"";
}

std::int32_t xml_node_text_position(const XmlNode* node)
{
    return node ? node->text_position : 0;
}

std::int32_t xml_node_line(const XmlNode* node)
{
    return node ? node->line : 0;
}

std::int32_t xml_node_column(const XmlNode* node)
{
    return node ? node->column : 0;
}

XmlNode* xml_node_parent(const XmlNode* node)
{
    return node ? node->parent : nullptr;
}

XmlNode* xml_node_first_child(const XmlNode* node)
{
    return node ? node->first_child : nullptr;
}

XmlNode* xml_node_next_sibling(const XmlNode* node)
{
    return node ? node->next_sibling : nullptr;
}

XmlNode* xml_node_previous_sibling(const XmlNode* node)
{
    return node ? node->previous_sibling : nullptr;
}

std::int32_t xml_node_attribute_count(const XmlNode* node)
{
    return node && node->attributes ? node->attribute_count : 0;
}

const char16_t* xml_node_attribute_name(const XmlNode* node, std::int32_t index)
{
    return in_range(node, index) ? node->attributes[2 * index] : nullptr;
}

const char16_t* xml_node_attribute_value(const XmlNode* node, std::int32_t index)
{
    return in_range(node, index) ? node->attributes[2 * index + 1] : nullptr;
}

const char16_t* xml_node_attribute(const XmlNode* node, const char16_t* name)
{
    for (std::int32_t i = 0; i < xml_node_attribute_count(node); ++i) {
        if (xml_name_equal(node->attributes[2 * i], name))
            return node->attributes[2 * i + 1];
    }
    return nullptr;
}
