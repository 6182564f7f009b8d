// Parses thousands of randomly mutated documents and checks that every tree is
// consistent; the sanitizers catch memory faults on the way.
#include "xml/xml.h"

#include "services/utf8.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

const char16_t* const SEEDS[] = {
    u"<dialogs>\r\n\t<window name=\"wndMain\" text='QuietNote' flags=\"GK_Window_SizeGadget\">\r\n"
    u"\t\t<vbox expand=\"yes\"><button name=\"cmdSave\" text=\"Save\"/><empty/></vbox>\r\n\t</window>\r\n</dialogs>",
    u"<?xml version=\"1.0\" standalone=\"no\"?>\n<!-- c --><!DOCTYPE r [<!ENTITY e \"ee\"><!ATTLIST r d CDATA 'x'>]>\n"
    u"<r ID=\"1\">a&e;b<![CDATA[<c>]]><?pi x?>&#x1F600;&amp;</r>\n",
    u"<a>x<b/>y<c k=\"\u00e4\U0001F600\">\u65e5\r</c>z</a>",
};

const char16_t ALPHABET[] = {u'<', u'>', u'/', u'!', u'?', u'=', u'"', u'\'', u'&', u';', u'[', u']', u'-', u'a',
                             u'x', u' ', u'\r', u'\n', u'\t', 0x00e4, 0xD800, 0xDC00, 0xFFFE, u'#', u'D', u'C'};

struct Random {
    std::uint64_t state;
    std::uint32_t next(std::uint32_t bound)
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33) % bound;
    }
};

std::u16string mutate(Random& random, std::u16string text)
{
    const int edits = 1 + static_cast<int>(random.next(3));
    for (int i = 0; i < edits && !text.empty(); ++i) {
        const std::size_t at = random.next(static_cast<std::uint32_t>(text.size()));
        const char16_t unit = ALPHABET[random.next(sizeof ALPHABET / sizeof ALPHABET[0])];
        switch (random.next(8)) {
        case 0: case 1: text[at] = unit; break;
        case 2: case 3: text.insert(at, 1, unit); break;
        case 4: case 5: text.erase(at, 1 + random.next(4)); break;
        case 6: text.insert(at, text.substr(random.next(static_cast<std::uint32_t>(text.size())), random.next(24))); break;
        default: text.resize(at); break;
        }
    }
    return text;
}

std::size_t length(const char16_t* text)
{
    return std::u16string_view(text).size();
}

// Walks the tree without recursion and checks its links, kinds, strings and positions.
void check_tree(ObjectNumber document)
{
    XmlNode* top = xml_document_node(document);
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(xml_node_parent(top), nullptr);
    XmlNode* first_element = nullptr;
    XmlNode* node = top;
    while (node) {
        ASSERT_EQ(node->owner, document);
        ASSERT_GE(node->kind, XML_KIND_DOCUMENT);
        ASSERT_LE(node->kind, XML_KIND_INSTRUCTION);
        if (node != top) {
            ASSERT_GE(node->text_position, 0);
            ASSERT_LE(static_cast<std::size_t>(node->text_position), length(xml_node_text(node->parent)));
        }
        if (node->kind == XML_KIND_ELEMENT && !first_element)
            first_element = node;
        for (std::int32_t i = 0; i < xml_node_attribute_count(node); ++i) {
            ASSERT_NE(xml_node_attribute_name(node, i), nullptr);
            ASSERT_NE(xml_node_attribute_value(node, i), nullptr);
        }
        for (XmlNode* child = node->first_child; child; child = child->next_sibling) {
            ASSERT_EQ(child->parent, node);
            if (child->next_sibling) {
                ASSERT_EQ(child->next_sibling->previous_sibling, child);
            }
        }
        if (node->first_child) {
            ASSERT_EQ(node->first_child->previous_sibling, nullptr);
            node = node->first_child;
            continue;
        }
        while (node && !node->next_sibling)
            node = node->parent;
        if (node)
            node = node->next_sibling;
    }
    ASSERT_EQ(xml_root(document), first_element);
}

TEST(XmlFuzzTest, MutatedDocumentsGiveConsistentTrees)
{
    ASSERT_TRUE(xml_start());
    Random random{20261207};
    std::vector<ObjectNumber> live;
    for (int round = 0; round < 10000; ++round) {
        const std::u16string text = mutate(random, SEEDS[round % 3]);
        const ObjectNumber number = random.next(4) == 0 ? random.next(12) : GK_ANY;
        const ObjectNumber result = xml_parse_string(number, text.c_str());
        ASSERT_NE(result, 0);
        const ObjectNumber document = number == GK_ANY ? result : number;
        check_tree(document);
        const std::int32_t code = xml_error_code(document);
        if (code != 0) {
            EXPECT_GE(xml_error_line(document), 1);
            EXPECT_GE(xml_error_column(document), 1);
            EXPECT_EQ(xml_error_message(document), utf8_decode(XML_ErrorString(static_cast<XML_Error>(code))));
        }
        if (number == GK_ANY)
            live.push_back(document);
        if (live.size() > 16) {
            const std::size_t victim = random.next(static_cast<std::uint32_t>(live.size()));
            xml_free(live[victim]);
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(victim));
        }
    }
    xml_free(GK_ANY);
    for (ObjectNumber document : live)
        EXPECT_EQ(xml_is_valid(document), 0);
}

}  // namespace
