// The XML tree: any text gives a document whose nodes link up consistently, with an error
// position for a text that is not well-formed; freeing it leaves nothing behind.
#include "fuzz_support.h"

#include <string_view>

namespace {

void check_tree(ObjectNumber document)
{
    const XmlNode* top = xml_document_node(document);
    FUZZ_CHECK(top && xml_node_kind(top) == XML_KIND_DOCUMENT && !xml_node_parent(top));
    const XmlNode* first_element = nullptr;
    const XmlNode* node = xml_node_first_child(top);
    while (node) {
        FUZZ_CHECK(node->owner == document);
        if (!first_element && node->kind == XML_KIND_ELEMENT)
            first_element = node;
        const std::int32_t count = xml_node_attribute_count(node);
        for (std::int32_t i = 0; i < count; ++i) {
            const char16_t* name = xml_node_attribute_name(node, i);
            FUZZ_CHECK(name && xml_node_attribute_value(node, i));
            FUZZ_CHECK(xml_node_attribute(node, name));
        }
        FUZZ_CHECK(!xml_node_attribute_name(node, count));
        std::u16string_view(xml_node_text(node)).size();
        if (const XmlNode* next = xml_node_next_sibling(node))
            FUZZ_CHECK(xml_node_previous_sibling(next) == node && xml_node_parent(next) == xml_node_parent(node));
        if (const XmlNode* child = xml_node_first_child(node)) {
            FUZZ_CHECK(xml_node_parent(child) == node && !xml_node_previous_sibling(child));
            node = child;
            continue;
        }
        while (node && !xml_node_next_sibling(node))
            node = xml_node_parent(node) == top ? nullptr : xml_node_parent(node);
        if (node)
            node = xml_node_next_sibling(node);
    }
    FUZZ_CHECK(xml_root(document) == first_element);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ObjectNumber document = fuzz_xml_document(data, size);
    FUZZ_CHECK(document != 0);
    check_tree(document);
    if (xml_error_code(document) != 0) {
        FUZZ_CHECK(xml_error_line(document) >= 1 && xml_error_column(document) >= 1);
        FUZZ_CHECK(!xml_error_message(document).empty());
    }
    xml_free(document);
    FUZZ_CHECK(!xml_is_valid(document));
    return 0;
}
