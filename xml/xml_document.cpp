#include "xml/xml_internal.h"

#include "services/file.h"
#include "core/pool.h"

#include <cstring>

namespace {

struct XmlState {
    ObjectTable* documents;
    BlockPool* nodes;
};

XmlState* g_xml = nullptr;

XmlDocument* find(ObjectNumber number)
{
    return g_xml ? static_cast<XmlDocument*>(object_get(g_xml->documents, number)) : nullptr;
}

// Releases the nodes in post-order without recursion: a node's children go first, and
// the link to them is cut on the way down so that the way back up finds none.
void free_tree(XmlNode* node)
{
    while (node) {
        if (XmlNode* child = node->first_child) {
            node->first_child = nullptr;
            node = child;
            continue;
        }
        XmlNode* next = node->next_sibling ? node->next_sibling : node->parent;
        pool_release(node);
        node = next;
    }
}

void free_document(XmlDocument* document)
{
    free_tree(document->document_node);
    xml_arena_release(document);
}

XmlNode* new_document_node(ObjectNumber owner)
{
    auto* node = static_cast<XmlNode*>(pool_alloc(g_xml->nodes));
    if (!node)
        return nullptr;
    std::memset(node, 0, sizeof(XmlNode));
    node->kind = XML_KIND_DOCUMENT;
    node->owner = owner;
    node->id_attribute = -1;
    return node;
}

}  // namespace

BlockPool* xml_node_pool()
{
    return g_xml ? g_xml->nodes : nullptr;
}

bool xml_start()
{
    if (g_xml)
        return true;
    auto* state = static_cast<XmlState*>(state_block_new(sizeof(XmlState), nullptr));
    if (!state)
        return false;
    state->documents = object_table_new(sizeof(XmlDocument), XML_TABLE_GROWTH, xml_free);
    state->nodes = pool_new(sizeof(XmlNode), 32, 1024, 0);
    if (!state->documents || !state->nodes)
        return false;
    g_xml = state;
    return true;
}

void xml_end()
{
    xml_free(GK_ANY);
}

ObjectNumber xml_parse_string(ObjectNumber number, const char16_t* text)
{
    if (!g_xml)
        return 0;
    auto* document = static_cast<XmlDocument*>(object_new(g_xml->documents, number));
    if (!document)
        return 0;
    const ObjectNumber owner = object_number_for(number, document);
    const std::u16string_view source = text ? std::u16string_view(text) : std::u16string_view();
    document->valid = 1;
    document->owner = owner;
    document->encoding = TEXT_UTF16;
    document->standalone = -1;
    document->from_memory = 1;
    document->document_node = new_document_node(owner);
    document->line_break_style = xml_detect_line_break_style(source);
    if (!document->document_node || !xml_arena_begin(document, source.size() * sizeof(char16_t) + 8) ||
        !xml_build_tree(document, source)) {
        free_document(document);
        object_free(g_xml->documents, owner);
        return 0;
    }
    return number == GK_ANY ? owner : reinterpret_cast<ObjectNumber>(document);
}

int xml_is_valid(ObjectNumber document)
{
    return g_xml && object_find(g_xml->documents, document) ? 1 : 0;
}

XmlNode* xml_root(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->root : nullptr;
}

XmlNode* xml_document_node(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->document_node : nullptr;
}

void xml_free(ObjectNumber document)
{
    if (!g_xml)
        return;
    if (document == GK_ANY) {
        object_free_all(g_xml->documents);
        return;
    }
    XmlDocument* record = find(document);
    if (!record)
        return;
    free_document(record);
    object_free(g_xml->documents, document);
}

const XmlDocument* xml_document(ObjectNumber document)
{
    return find(document);
}

std::int32_t xml_error_code(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->error_code : 0;
}

std::int32_t xml_error_line(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->error_line : 0;
}

std::int32_t xml_error_column(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->error_column : 0;
}

std::u16string xml_error_message(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record && record->error_message ? std::u16string(record->error_message) : std::u16string();
}

std::int32_t xml_encoding(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->encoding : 0;
}

std::int32_t xml_standalone(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->standalone : 0;
}

std::int32_t xml_line_break_style(ObjectNumber document)
{
    XmlDocument* record = find(document);
    return record ? record->line_break_style : 0;
}
