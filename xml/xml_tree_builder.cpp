// Builds a document's tree from expat's callbacks. Each open node, from the document
// node down to the current one, collects its text in a growing buffer of its own; the
// text is copied into the arena when the node closes.
#include "xml/xml_internal.h"

#include "services/utf8.h"
#include "core/pool.h"

#include <expat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

static_assert(sizeof(XML_Char) == 1, "expat must hand its texts over as UTF-8");

namespace {

struct TextBuffer {
    char16_t* data;
    std::size_t length;
    std::size_t capacity;
};

}  // namespace

struct XmlParseState {
    XmlNode* current;
    XmlNode* last_closed;
    TextBuffer* levels;  // levels[depth]: the text of the open node at that depth
    std::size_t depth;
    std::size_t level_count;
    bool out_of_memory;
};

namespace {

// Expat takes a length as int; longer texts go in parts.
constexpr std::size_t PARSE_CHUNK = std::size_t(1) << 30;

XmlDocument* document_of(void* user_data)
{
    return static_cast<XmlDocument*>(user_data);
}

// A memory failure ends the parse: a tree missing a node would pair later ends with
// the wrong nodes.
void fail(XmlDocument* document)
{
    document->parse->out_of_memory = true;
    XML_StopParser(document->parser, XML_FALSE);
}

bool reserve(TextBuffer* buffer, std::size_t extra)
{
    if (extra > SIZE_MAX / sizeof(char16_t) / 2 - buffer->length)
        return false;
    const std::size_t needed = buffer->length + extra;
    if (needed <= buffer->capacity)
        return true;
    std::size_t capacity = buffer->capacity ? buffer->capacity : 64;
    while (capacity < needed)
        capacity *= 2;
    auto* data = static_cast<char16_t*>(std::realloc(buffer->data, capacity * sizeof(char16_t)));
    if (!data)
        return false;
    buffer->data = data;
    buffer->capacity = capacity;
    return true;
}

// Appends to the current node's text. Expat hands every line break of character data
// as LF; `convert` turns it back into the source's style.
void append(XmlDocument* document, std::u16string_view text, bool convert)
{
    XmlParseState* state = document->parse;
    TextBuffer* buffer = &state->levels[state->depth];
    if (state->out_of_memory)
        return;
    if (!reserve(buffer, text.size() * 2)) {
        fail(document);
        return;
    }
    const std::int32_t style = convert ? document->line_break_style : XML_LINE_BREAK_LF;
    for (char16_t unit : text) {
        if (unit == u'\n' && style == XML_LINE_BREAK_CRLF) {
            buffer->data[buffer->length++] = u'\r';
        } else if (unit == u'\n' && style == XML_LINE_BREAK_CR) {
            buffer->data[buffer->length++] = u'\r';
            continue;
        }
        buffer->data[buffer->length++] = unit;
    }
}

void append_utf8(XmlDocument* document, const char* text, std::size_t length, bool convert)
{
    append(document, utf8_decode(std::string_view(text, length)), convert);
}

const char16_t* arena_utf8(XmlDocument* document, const char* text)
{
    return xml_arena_string(document, utf8_decode(text));
}

bool push_level(XmlParseState* state)
{
    if (state->depth + 1 >= state->level_count) {
        std::size_t count = state->level_count * 2;
        auto* levels = static_cast<TextBuffer*>(std::realloc(state->levels, count * sizeof(TextBuffer)));
        if (!levels)
            return false;
        std::memset(levels + state->level_count, 0, (count - state->level_count) * sizeof(TextBuffer));
        state->levels = levels;
        state->level_count = count;
    }
    ++state->depth;
    state->levels[state->depth].length = 0;
    return true;
}

// A new node under the current one, linked behind its last closed child; it becomes
// the current node. Null after a memory failure.
XmlNode* open_node(XmlDocument* document, std::int16_t kind)
{
    XmlParseState* state = document->parse;
    if (state->out_of_memory)
        return nullptr;
    auto* node = static_cast<XmlNode*>(pool_alloc(xml_node_pool()));
    if (!node || !push_level(state)) {
        pool_release(node);
        fail(document);
        return nullptr;
    }
    std::memset(node, 0, sizeof(XmlNode));
    XmlNode* parent = state->current;
    const std::size_t parent_length = state->levels[state->depth - 1].length;
    node->kind = kind;
    node->owner = document->owner;
    node->id_attribute = -1;
    node->text_position = parent_length > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(parent_length);
    node->parent = parent;
    if (kind == XML_KIND_ELEMENT && !document->root)
        document->root = node;
    if (state->last_closed && state->last_closed->parent == parent) {
        state->last_closed->next_sibling = node;
        node->previous_sibling = state->last_closed;
    } else {
        parent->first_child = node;
    }
    state->last_closed = nullptr;
    state->current = node;
    return node;
}

void finish_text(XmlDocument* document, XmlNode* node)
{
    const TextBuffer& buffer = document->parse->levels[document->parse->depth];
    if (buffer.length > 0)
        node->text = xml_arena_string(document, std::u16string_view(buffer.data, buffer.length));
}

void close_node(XmlDocument* document)
{
    XmlParseState* state = document->parse;
    XmlNode* node = state->current;
    finish_text(document, node);
    state->last_closed = node;
    state->current = node->parent;
    --state->depth;
}

// Closes the current node when it is of the given kind; an end whose start made no
// node (after a failure, or a declaration already closed) leaves the tree alone.
void close_kind(XmlDocument* document, std::int16_t kind)
{
    XmlParseState* state = document->parse;
    if (!state->out_of_memory && state->current->kind == kind && state->depth > 0)
        close_node(document);
}

std::int32_t clamp_position(XML_Size value)
{
    return value >= INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(value);
}

// In a start handler expat's position is that of the tag's '<'; its column counts from 0.
void place_at_parser(XmlDocument* document, XmlNode* node)
{
    node->line = clamp_position(XML_GetCurrentLineNumber(document->parser));
    node->column = clamp_position(XML_GetCurrentColumnNumber(document->parser) + 1);
}

void XMLCALL on_start_element(void* user_data, const XML_Char* name, const XML_Char** attributes)
{
    XmlDocument* document = document_of(user_data);
    XmlNode* node = open_node(document, XML_KIND_ELEMENT);
    if (!node)
        return;
    node->name = arena_utf8(document, name);
    place_at_parser(document, node);
    std::size_t texts = 0;
    while (attributes[texts])
        ++texts;
    if (texts == 0)
        return;
    auto* pairs = static_cast<const char16_t**>(xml_arena_alloc(document, texts * sizeof(char16_t*)));
    if (!pairs)
        return;
    for (std::size_t i = 0; i < texts; ++i)
        pairs[i] = arena_utf8(document, attributes[i]);
    node->attributes = pairs;
    node->attribute_count = static_cast<std::int32_t>(texts / 2);
    for (std::int32_t i = 0; i < node->attribute_count; ++i) {
        if (xml_name_equal(pairs[2 * i], u"ID")) {
            node->id_attribute = i;
            break;
        }
    }
}

void XMLCALL on_end_element(void* user_data, const XML_Char*)
{
    close_kind(document_of(user_data), XML_KIND_ELEMENT);
}

void XMLCALL on_character_data(void* user_data, const XML_Char* text, int length)
{
    XmlDocument* document = document_of(user_data);
    if (!document->parse->out_of_memory && length > 0)
        append_utf8(document, text, static_cast<std::size_t>(length), true);
}

void XMLCALL on_default(void* user_data, const XML_Char* text, int length)
{
    XmlDocument* document = document_of(user_data);
    if (!document->parse->out_of_memory && length > 0)
        append_utf8(document, text, static_cast<std::size_t>(length), false);
}

void XMLCALL on_comment(void* user_data, const XML_Char* text)
{
    XmlDocument* document = document_of(user_data);
    if (!open_node(document, XML_KIND_COMMENT))
        return;
    append_utf8(document, text, std::strlen(text), false);
    close_kind(document, XML_KIND_COMMENT);
}

void XMLCALL on_start_cdata(void* user_data)
{
    open_node(document_of(user_data), XML_KIND_CDATA);
}

void XMLCALL on_end_cdata(void* user_data)
{
    close_kind(document_of(user_data), XML_KIND_CDATA);
}

// Appends ` "id"`, or ` 'id'` when the id holds a double quote.
void append_quoted(XmlDocument* document, const char* id)
{
    const char16_t* quote = std::strchr(id, '"') ? u"'" : u"\"";
    append(document, u" ", false);
    append(document, quote, false);
    append_utf8(document, id, std::strlen(id), false);
    append(document, quote, false);
}

void XMLCALL on_start_doctype(void* user_data, const XML_Char* name, const XML_Char* system_id,
                              const XML_Char* public_id, int has_internal_subset)
{
    XmlDocument* document = document_of(user_data);
    if (!open_node(document, XML_KIND_DOCTYPE))
        return;
    append(document, u"<!DOCTYPE ", false);
    append_utf8(document, name, std::strlen(name), false);
    if (public_id)
        append(document, u" PUBLIC", false);
    else if (system_id)
        append(document, u" SYSTEM", false);
    if (public_id)
        append_quoted(document, public_id);
    if (system_id)
        append_quoted(document, system_id);
    if (has_internal_subset) {
        append(document, u" [", false);
        return;
    }
    append(document, u">", false);
    close_kind(document, XML_KIND_DOCTYPE);
}

// Expat reports the end of every declaration; only one with an internal subset is
// still open here.
void XMLCALL on_end_doctype(void* user_data)
{
    XmlDocument* document = document_of(user_data);
    if (document->parse->out_of_memory || document->parse->current->kind != XML_KIND_DOCTYPE)
        return;
    append(document, u"]>", false);
    close_kind(document, XML_KIND_DOCTYPE);
}

void XMLCALL on_instruction(void* user_data, const XML_Char* target, const XML_Char* data)
{
    XmlDocument* document = document_of(user_data);
    XmlNode* node = open_node(document, XML_KIND_INSTRUCTION);
    if (!node)
        return;
    node->name = arena_utf8(document, target);
    append_utf8(document, data, std::strlen(data), false);
    close_kind(document, XML_KIND_INSTRUCTION);
}

// Only a declaration with a version belongs to the document itself. A string is
// always UTF-16 in memory, so a declared encoding changes nothing.
void XMLCALL on_xml_declaration(void* user_data, const XML_Char* version, const XML_Char*, int standalone)
{
    if (version)
        document_of(user_data)->standalone = standalone;
}

XML_Parser create_parser(XmlDocument* document)
{
    XML_Parser parser = XML_ParserCreate("UTF-8");
    if (!parser)
        return nullptr;
    XML_SetUserData(parser, document);
    XML_SetElementHandler(parser, on_start_element, on_end_element);
    XML_SetCharacterDataHandler(parser, on_character_data);
    XML_SetDefaultHandlerExpand(parser, on_default);
    XML_SetCommentHandler(parser, on_comment);
    XML_SetCdataSectionHandler(parser, on_start_cdata, on_end_cdata);
    XML_SetDoctypeDeclHandler(parser, on_start_doctype, on_end_doctype);
    XML_SetProcessingInstructionHandler(parser, on_instruction);
    XML_SetXmlDeclHandler(parser, on_xml_declaration);
    return parser;
}

void record_error(XmlDocument* document, XML_Parser parser)
{
    const XML_Error code = document->parse->out_of_memory ? XML_ERROR_NO_MEMORY : XML_GetErrorCode(parser);
    const XML_Size line = XML_GetCurrentLineNumber(parser);
    const XML_Size column = XML_GetCurrentColumnNumber(parser);
    document->error_code = static_cast<std::int32_t>(code);
    document->error_line = line > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(line);
    document->error_column = column >= INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(column + 1);
    if (const XML_LChar* message = XML_ErrorString(code))
        document->error_message = arena_utf8(document, message);
}

bool parse_all(XML_Parser parser, const std::string& bytes)
{
    std::size_t offset = 0;
    do {
        const std::size_t part = bytes.size() - offset < PARSE_CHUNK ? bytes.size() - offset : PARSE_CHUNK;
        const bool last = offset + part == bytes.size();
        if (XML_Parse(parser, bytes.data() + offset, static_cast<int>(part), last) != XML_STATUS_OK)
            return false;
        offset += part;
    } while (offset < bytes.size());
    return true;
}

// Closes what the text left open, so that the tree keeps every text collected so far.
void finish_open_nodes(XmlDocument* document)
{
    XmlParseState* state = document->parse;
    while (state->depth > 0)
        close_node(document);
    finish_text(document, document->document_node);
}

void free_state(XmlParseState* state)
{
    for (std::size_t i = 0; i < state->level_count; ++i)
        std::free(state->levels[i].data);
    std::free(state->levels);
    std::free(state);
}

}  // namespace

std::int32_t xml_detect_line_break_style(std::u16string_view text)
{
    std::size_t i = !text.empty() && text[0] == u'\n' ? 1 : 0;
    for (; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return XML_LINE_BREAK_LF;
        if (text[i] == u'\r')
            return i + 1 < text.size() && text[i + 1] == u'\n' ? XML_LINE_BREAK_CRLF : XML_LINE_BREAK_CR;
    }
    return XML_LINE_BREAK_NONE;
}

bool xml_build_tree(XmlDocument* document, std::u16string_view text)
{
    constexpr std::size_t FIRST_LEVELS = 16;
    auto* state = static_cast<XmlParseState*>(std::calloc(1, sizeof(XmlParseState)));
    auto* levels = static_cast<TextBuffer*>(std::calloc(FIRST_LEVELS, sizeof(TextBuffer)));
    XML_Parser parser = state && levels ? create_parser(document) : nullptr;
    if (!parser) {
        std::free(levels);
        std::free(state);
        return false;
    }
    state->current = document->document_node;
    state->levels = levels;
    state->level_count = FIRST_LEVELS;
    document->parse = state;
    document->parser = parser;

    if (!parse_all(parser, utf8_encode(text)))
        record_error(document, parser);
    finish_open_nodes(document);

    document->parser = nullptr;
    document->parse = nullptr;
    XML_ParserFree(parser);
    free_state(state);
    return true;
}
