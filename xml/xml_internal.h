// Pieces shared by the document table, the string arena and the tree builder.
#pragma once

#include "xml/xml.h"

#include <cstddef>
#include <string_view>

struct BlockPool;

// The pool that every document's nodes come from.
BlockPool* xml_node_pool();

// String storage of a document. Short requests are carved from large arena blocks;
// a request above XML_ARENA_SEPARATE_ABOVE bytes is a block of its own. Both kinds
// are kept on the document and released together by xml_arena_release.
constexpr std::size_t XML_ARENA_BLOCK_SIZE = 0x80000;
constexpr std::size_t XML_ARENA_SEPARATE_ABOVE = 1024;

// Sets up the first arena block for `bytes` of strings; false when memory runs out.
bool xml_arena_begin(XmlDocument* document, std::size_t bytes);
// `bytes` of storage aligned for a pointer, null when memory runs out.
void* xml_arena_alloc(XmlDocument* document, std::size_t bytes);
// A terminated copy of the text, null when memory runs out.
const char16_t* xml_arena_string(XmlDocument* document, std::u16string_view text);
void xml_arena_release(XmlDocument* document);

// The line-break style of a source text: the first CR LF, lone LF or lone CR after one
// leading LF decides.
std::int32_t xml_detect_line_break_style(std::u16string_view text);

// Builds the document's tree from a text: runs expat over it and fills the error fields
// when it is not well-formed. The document node must exist and the arena be set up.
// False only when no parser can be created.
bool xml_build_tree(XmlDocument* document, std::u16string_view text);
