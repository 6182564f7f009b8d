// XML documents: numbered objects holding a tree of nodes that expat's callbacks build
// from an XML text. Character data forms no nodes of its own; it is the text of the
// node that encloses it. Every string of a document belongs to the document and lives
// until the document is freed; operations that return a std::u16string return a copy.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

// Node kinds.
constexpr std::int16_t XML_KIND_DOCUMENT = 0;     // the parent of everything in a document
constexpr std::int16_t XML_KIND_ELEMENT = 1;
constexpr std::int16_t XML_KIND_COMMENT = 2;
constexpr std::int16_t XML_KIND_CDATA = 3;
constexpr std::int16_t XML_KIND_DOCTYPE = 4;      // text: the declaration as written back
constexpr std::int16_t XML_KIND_INSTRUCTION = 5;  // name: the target; text: the data

// Line-break styles found in a source text.
constexpr std::int32_t XML_LINE_BREAK_NONE = 0;
constexpr std::int32_t XML_LINE_BREAK_CRLF = 1;
constexpr std::int32_t XML_LINE_BREAK_LF = 2;
constexpr std::int32_t XML_LINE_BREAK_CR = 4;

// Growth step of the table of documents.
constexpr std::size_t XML_TABLE_GROWTH = 8;

// One node; records come from a block pool shared by all documents.
struct XmlNode {
    XmlNode* parent;                     // null for the document node
    XmlNode* first_child;
    XmlNode* previous_sibling;
    XmlNode* next_sibling;
    const char16_t* name;                // element name or instruction target; null otherwise
    const char16_t* text;                // the node's character data, concatenated; null when empty
    const char16_t* const* attributes;   // 2 * attribute_count texts: name, value, ... in document order
    ObjectNumber owner;                  // the document's number
    std::int32_t text_position;          // length of the parent's text when this node was opened
    std::int16_t kind;                   // XML_KIND_*
    std::int32_t id_attribute;           // index of the attribute named "ID" (any case), -1 when none
    std::int32_t attribute_count;
    std::int32_t line;                   // 1-based place of an element's start tag; 0 for other kinds
    std::int32_t column;
};

struct XmlArenaBlock;
struct XmlParseState;
struct XML_ParserStruct;

// The record of a document in the table of documents.
struct XmlDocument {
    std::uintptr_t valid;              // 1 while the document exists
    XmlNode* document_node;            // kind XML_KIND_DOCUMENT
    XmlNode* root;                     // first element opened by the parse; null when none
    std::int32_t encoding;             // text format of the source: TEXT_UTF16 for strings
    std::int32_t standalone;           // the XML declaration's standalone value; -1 when not given
    std::int32_t line_break_style;     // XML_LINE_BREAK_*
    std::int32_t error_code;           // 0 after a successful parse, otherwise expat's error code
    std::int32_t error_line;           // 1-based
    std::int32_t error_column;         // 1-based
    const char16_t* error_message;     // expat's text for the error code; null when none
    XmlArenaBlock* arena_blocks;       // blocks the document's short strings are carved from
    XmlArenaBlock* separate_blocks;    // long strings, one block each
    char* arena_position;
    char* arena_end;
    XML_ParserStruct* parser;          // the expat parser while a parse runs
    ObjectNumber owner;                // the document's number
    std::int32_t from_memory;          // 1: parsed from a string, a declared encoding is ignored
    XmlParseState* parse;              // open nodes and their growing texts while a parse runs
};

// Creates the table of documents and the node pool; false when memory runs out.
bool xml_start();
// Frees every document.
void xml_end();

// Parses a UTF-16 text (null counts as empty) into a new document: the new number for
// GK_ANY, a non-zero value for a fixed number, 0 when the parser or the record cannot be
// created. A text that is not well-formed still gives a document; its error code tells.
ObjectNumber xml_parse_string(ObjectNumber number, const char16_t* text);
// Non-zero when the number names an existing document.
int xml_is_valid(ObjectNumber document);
// The root element, null when the number names no document or no element was parsed.
XmlNode* xml_root(ObjectNumber document);
// The node of kind XML_KIND_DOCUMENT, null when the number names no document.
XmlNode* xml_document_node(ObjectNumber document);
// Frees one document, or every document for GK_ANY; unknown numbers are ignored.
void xml_free(ObjectNumber document);
// The record of a document, null when the number names none.
const XmlDocument* xml_document(ObjectNumber document);

// The parse's outcome; each gives 0 (or an empty text) for a number that names no document.
// expat's error code, 0 when the text was well-formed.
std::int32_t xml_error_code(ObjectNumber document);
// The 1-based line of the error.
std::int32_t xml_error_line(ObjectNumber document);
// The 1-based column of the error.
std::int32_t xml_error_column(ObjectNumber document);
// A copy of expat's message for the error, empty when none.
std::u16string xml_error_message(ObjectNumber document);
// The source's text format: TEXT_UTF16 for a parsed string.
std::int32_t xml_encoding(ObjectNumber document);
// The XML declaration's standalone value: 1 yes, 0 no, -1 not given.
std::int32_t xml_standalone(ObjectNumber document);
// The source's line-break style (XML_LINE_BREAK_*), which character data keeps.
std::int32_t xml_line_break_style(ObjectNumber document);

// Node accessors; each accepts null and then returns -1, 0, null or "" as fitting.
// The kind (XML_KIND_*), -1 for null.
std::int32_t xml_node_kind(const XmlNode* node);
// The name, "" when none.
const char16_t* xml_node_name(const XmlNode* node);
// The text, "" when none.
const char16_t* xml_node_text(const XmlNode* node);
// Length of the parent's text when the node was opened: its place in mixed content.
std::int32_t xml_node_text_position(const XmlNode* node);
// The 1-based line and column of an element's start tag (its '<'), 0 for other nodes.
std::int32_t xml_node_line(const XmlNode* node);
std::int32_t xml_node_column(const XmlNode* node);
// The enclosing node, null for the document node.
XmlNode* xml_node_parent(const XmlNode* node);
// The first child in document order, null when none.
XmlNode* xml_node_first_child(const XmlNode* node);
// The next node with the same parent, null after the last.
XmlNode* xml_node_next_sibling(const XmlNode* node);
// The previous node with the same parent, null before the first.
XmlNode* xml_node_previous_sibling(const XmlNode* node);
// The number of attributes (name-value pairs).
std::int32_t xml_node_attribute_count(const XmlNode* node);
// Name and value of attribute `index` in document order, null when out of range.
const char16_t* xml_node_attribute_name(const XmlNode* node, std::int32_t index);
const char16_t* xml_node_attribute_value(const XmlNode* node, std::int32_t index);
// The value of the first attribute whose name equals `name` with A-Z matched to a-z,
// null when there is none.
const char16_t* xml_node_attribute(const XmlNode* node, const char16_t* name);
// Names compared as attribute lookup compares them: A-Z matched to a-z, nothing else folded.
bool xml_name_equal(const char16_t* a, const char16_t* b);
