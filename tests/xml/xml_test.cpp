#include "xml/xml.h"

#include "services/file.h"
#include "services/utf8.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class XmlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(xml_start()); }
    void TearDown() override { xml_free(GK_ANY); }
};

std::u16string text_of(const XmlNode* node)
{
    return xml_node_text(node);
}

std::vector<XmlNode*> children(const XmlNode* node)
{
    std::vector<XmlNode*> result;
    for (XmlNode* child = xml_node_first_child(node); child; child = xml_node_next_sibling(child))
        result.push_back(child);
    return result;
}

std::u16string expat_message(std::int32_t code)
{
    return utf8_decode(XML_ErrorString(static_cast<XML_Error>(code)));
}

TEST_F(XmlTest, DefinitionLikeDocumentGivesElementsTextsAndPositions)
{
    const ObjectNumber document = xml_parse_string(GK_ANY, u"<dialogs>\r\n\t<window name=\"wndMain\">\r\n\t</window>\r\n</dialogs>");
    ASSERT_NE(document, 0);
    EXPECT_EQ(xml_error_code(document), 0);
    XmlNode* root = xml_root(document);
    EXPECT_EQ(std::u16string(xml_node_name(root)), u"dialogs");
    EXPECT_EQ(xml_node_parent(root), xml_document_node(document));
    EXPECT_EQ(text_of(root), u"\r\n\t\r\n");
    auto windows = children(root);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(xml_node_kind(windows[0]), XML_KIND_ELEMENT);
    EXPECT_EQ(xml_node_text_position(windows[0]), 3);
    EXPECT_EQ(text_of(windows[0]), u"\r\n\t");
    EXPECT_EQ(windows[0]->owner, document);
    EXPECT_EQ(xml_line_break_style(document), XML_LINE_BREAK_CRLF);
    EXPECT_EQ(xml_encoding(document), TEXT_UTF16);
    EXPECT_EQ(xml_standalone(document), -1);
}

// Columns count characters: a tab, a non-ASCII letter and a supplementary one are one each.
TEST_F(XmlTest, ElementsKnowTheLineAndColumnOfTheirStartTag)
{
    const ObjectNumber document =
        xml_parse_string(GK_ANY, u"<a>\r\n\t<b x='\u00e9\U0001F600'/><c/>\n<!--n-->\r  <d\n/></a>");
    ASSERT_EQ(xml_error_code(document), 0);
    XmlNode* a = xml_root(document);
    EXPECT_EQ(xml_node_line(a), 1);
    EXPECT_EQ(xml_node_column(a), 1);
    auto nodes = children(a);
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(xml_node_line(nodes[0]), 2);
    EXPECT_EQ(xml_node_column(nodes[0]), 2);
    EXPECT_EQ(xml_node_line(nodes[1]), 2);
    EXPECT_EQ(xml_node_column(nodes[1]), 13);
    EXPECT_EQ(xml_node_line(nodes[2]), 0);
    EXPECT_EQ(xml_node_line(nodes[3]), 4);
    EXPECT_EQ(xml_node_column(nodes[3]), 3);
    EXPECT_EQ(xml_node_line(nullptr), 0);
}

TEST_F(XmlTest, MixedContentKeepsTextTogetherAndChildPositions)
{
    const ObjectNumber document = xml_parse_string(GK_ANY, u"<a>x<b/>y<!--c-->z<c>in</c></a>");
    XmlNode* a = xml_root(document);
    EXPECT_EQ(text_of(a), u"xyz");
    auto nodes = children(a);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(xml_node_text_position(nodes[0]), 1);
    EXPECT_EQ(nodes[0]->text, nullptr);
    EXPECT_EQ(xml_node_kind(nodes[1]), XML_KIND_COMMENT);
    EXPECT_EQ(xml_node_text_position(nodes[1]), 2);
    EXPECT_EQ(xml_node_text_position(nodes[2]), 3);
    EXPECT_EQ(text_of(nodes[2]), u"in");
    EXPECT_EQ(xml_node_previous_sibling(nodes[2]), nodes[1]);
    EXPECT_EQ(xml_node_previous_sibling(nodes[0]), nullptr);
}

TEST_F(XmlTest, AttributesKeepDocumentOrderAndMatchWithoutCase)
{
    const ObjectNumber document = xml_parse_string(GK_ANY, u"<w name=\"n\" b='2' Id=\"7\" ID=\"8\" NAME=\"m\"/>");
    XmlNode* w = xml_root(document);
    ASSERT_EQ(xml_node_attribute_count(w), 5);
    const char16_t* names[] = {u"name", u"b", u"Id", u"ID", u"NAME"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::u16string(xml_node_attribute_name(w, i)), names[i]);
    EXPECT_EQ(std::u16string(xml_node_attribute(w, u"NAME")), u"n");
    EXPECT_EQ(std::u16string(xml_node_attribute(w, u"id")), u"7");
    EXPECT_EQ(w->id_attribute, 2);
    EXPECT_EQ(xml_node_attribute(w, u"missing"), nullptr);
    EXPECT_EQ(xml_node_attribute(w, u"nam"), nullptr);
    EXPECT_EQ(xml_node_attribute_value(w, 5), nullptr);
    EXPECT_EQ(xml_node_attribute_name(w, -1), nullptr);
    EXPECT_EQ(xml_root(xml_parse_string(GK_ANY, u"<w/>"))->id_attribute, -1);
}

TEST_F(XmlTest, PrologCommentsInstructionsAndCdataBecomeNodes)
{
    const ObjectNumber document = xml_parse_string(GK_ANY,
        u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><!-- c --><!DOCTYPE r SYSTEM \"r.dtd\">"
        u"<?pi some data?><r><![CDATA[<x>&amp;]]>t</r><!--after-->");
    ASSERT_EQ(xml_error_code(document), 0);
    EXPECT_EQ(xml_standalone(document), 1);
    EXPECT_EQ(xml_encoding(document), TEXT_UTF16);
    auto top = children(xml_document_node(document));
    ASSERT_EQ(top.size(), 5u);
    const std::int32_t kinds[] = {XML_KIND_COMMENT, XML_KIND_DOCTYPE, XML_KIND_INSTRUCTION, XML_KIND_ELEMENT, XML_KIND_COMMENT};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(xml_node_kind(top[i]), kinds[i]);
    EXPECT_EQ(text_of(top[0]), u" c ");
    EXPECT_EQ(text_of(top[1]), u"<!DOCTYPE r SYSTEM \"r.dtd\">");
    EXPECT_EQ(std::u16string(xml_node_name(top[2])), u"pi");
    EXPECT_EQ(text_of(top[2]), u"some data");
    EXPECT_EQ(xml_root(document), top[3]);
    EXPECT_EQ(text_of(top[4]), u"after");
    auto inside = children(top[3]);
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_EQ(xml_node_kind(inside[0]), XML_KIND_CDATA);
    EXPECT_EQ(text_of(inside[0]), u"<x>&amp;");
    EXPECT_EQ(text_of(top[3]), u"t");
    // A string is UTF-16 whatever its declaration says.
    for (const char16_t* declared : {u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>"}) {
        const ObjectNumber other = xml_parse_string(GK_ANY, declared);
        EXPECT_EQ(xml_error_code(other), 0);
        EXPECT_EQ(xml_encoding(other), TEXT_UTF16);
    }
}

TEST_F(XmlTest, DoctypeDeclarationIsWrittenBack)
{
    struct Case {
        const char16_t* source;
        const char16_t* declaration;
    } cases[] = {
        {u"<!DOCTYPE r><r/>", u"<!DOCTYPE r>"},
        {u"<!DOCTYPE r PUBLIC \"-//P//EN\" \"r.dtd\"><r/>", u"<!DOCTYPE r PUBLIC \"-//P//EN\" \"r.dtd\">"},
        {u"<!DOCTYPE r SYSTEM 'a\"b'><r/>", u"<!DOCTYPE r SYSTEM 'a\"b'>"},
        {u"<!DOCTYPE r [ <!ENTITY e \"ee\"> ]><r/>", u"<!DOCTYPE r [ <!ENTITY e \"ee\"> ]>"},
    };
    for (const Case& c : cases) {
        const ObjectNumber document = xml_parse_string(GK_ANY, c.source);
        XmlNode* doctype = xml_node_first_child(xml_document_node(document));
        EXPECT_EQ(xml_node_kind(doctype), XML_KIND_DOCTYPE);
        EXPECT_EQ(text_of(doctype), c.declaration);
        EXPECT_EQ(xml_node_next_sibling(doctype), xml_root(document));
    }
    const ObjectNumber entity = xml_parse_string(GK_ANY, u"<!DOCTYPE r [<!ENTITY e \"e&#10;e\">]><r a=\"&e;\">&e;</r>");
    EXPECT_EQ(text_of(xml_root(entity)), u"e\ne");
    EXPECT_EQ(std::u16string(xml_node_attribute(xml_root(entity), u"a")), u"e e");
}

TEST_F(XmlTest, LineBreakStyleIsDetectedAndRestoredInCharacterData)
{
    struct Case {
        const char16_t* source;
        std::int32_t style;
        const char16_t* text;
    } cases[] = {
        {u"<a>1\r\n2\r3</a>", XML_LINE_BREAK_CRLF, u"1\r\n2\r\n3"},
        {u"<a>1\n2\r\n3</a>", XML_LINE_BREAK_LF, u"1\n2\n3"},
        {u"<a>1\r2\n3</a>", XML_LINE_BREAK_CR, u"1\r2\r3"},
        {u"\n<a>1\r\n2</a>", XML_LINE_BREAK_CRLF, u"1\r\n2"},
        {u"<a>12</a>", XML_LINE_BREAK_NONE, u"12"},
    };
    for (const Case& c : cases) {
        const ObjectNumber document = xml_parse_string(GK_ANY, c.source);
        EXPECT_EQ(xml_line_break_style(document), c.style);
        EXPECT_EQ(text_of(xml_root(document)), c.text);
    }
    // Comments keep the line feeds that expat hands over.
    const ObjectNumber comment = xml_parse_string(GK_ANY, u"<a><!--1\r\n2--></a>");
    EXPECT_EQ(text_of(xml_node_first_child(xml_root(comment))), u"1\n2");
}

TEST_F(XmlTest, MalformedTextsReportCodeLineColumnAndMessage)
{
    struct Case {
        const char16_t* source;
        XML_Error code;
        std::int32_t line;
        std::int32_t column;
    } cases[] = {
        {u"", XML_ERROR_NO_ELEMENTS, 1, 1},
        {u"<a></b>", XML_ERROR_TAG_MISMATCH, 1, 6},
        {u"<a>\n  <b></a>", XML_ERROR_TAG_MISMATCH, 2, 8},
        {u"<a x='1' x='2'/>", XML_ERROR_DUPLICATE_ATTRIBUTE, 1, 10},
        {u"<a>&nope;</a>", XML_ERROR_UNDEFINED_ENTITY, 1, 4},
        {u"<a/><b/>", XML_ERROR_JUNK_AFTER_DOC_ELEMENT, 1, 5},
    };
    for (const Case& c : cases) {
        const ObjectNumber document = xml_parse_string(GK_ANY, c.source);
        ASSERT_NE(document, 0);
        EXPECT_EQ(xml_error_code(document), c.code);
        EXPECT_EQ(xml_error_line(document), c.line);
        EXPECT_EQ(xml_error_column(document), c.column);
        EXPECT_EQ(xml_error_message(document), expat_message(c.code));
    }
    EXPECT_EQ(xml_error_message(xml_parse_string(GK_ANY, u"")), u"no element found");
}

TEST_F(XmlTest, TreeBuiltBeforeAnErrorStays)
{
    const ObjectNumber document = xml_parse_string(GK_ANY, u"<a>t<b/><c>u");
    EXPECT_EQ(xml_error_code(document), XML_ERROR_NO_ELEMENTS);
    XmlNode* a = xml_root(document);
    EXPECT_EQ(text_of(a), u"t");
    auto nodes = children(a);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(text_of(nodes[1]), u"u");
    EXPECT_EQ(xml_root(xml_parse_string(GK_ANY, u"<!-- only -->")), nullptr);
}

TEST_F(XmlTest, FixedAndDynamicNumbersAreFreedAndReused)
{
    EXPECT_NE(xml_parse_string(3, u"<one/>"), 0);
    EXPECT_NE(xml_parse_string(20, u"<twenty/>"), 0);
    EXPECT_EQ(std::u16string(xml_node_name(xml_root(3))), u"one");
    EXPECT_EQ(xml_root(3)->owner, 3);
    EXPECT_NE(xml_parse_string(3, u"<again/>"), 0);
    EXPECT_EQ(std::u16string(xml_node_name(xml_root(3))), u"again");
    xml_free(3);
    EXPECT_EQ(xml_is_valid(3), 0);
    EXPECT_EQ(xml_root(3), nullptr);
    EXPECT_EQ(xml_error_code(3), 0);
    EXPECT_NE(xml_parse_string(3, u"<back/>"), 0);
    EXPECT_EQ(std::u16string(xml_node_name(xml_root(3))), u"back");

    const ObjectNumber first = xml_parse_string(GK_ANY, u"<first/>");
    const ObjectNumber second = xml_parse_string(GK_ANY, u"<second/>");
    EXPECT_NE(first, second);
    xml_free(first);
    EXPECT_EQ(xml_is_valid(first), 0);
    EXPECT_EQ(xml_is_valid(second), 1);
    EXPECT_EQ(std::u16string(xml_node_name(xml_root(second))), u"second");
    xml_free(first);
    xml_free(GK_ANY);
    EXPECT_EQ(xml_is_valid(second), 0);
    EXPECT_EQ(xml_is_valid(20), 0);
}

TEST_F(XmlTest, StringsBelongToTheirDocumentAndCopiesToTheCaller)
{
    // Long texts and attribute lists are blocks of their own; many short strings
    // outgrow the first arena block.
    const std::u16string long_text(5000, u'q');
    std::u16string many = u"<r>";
    for (int i = 0; i < 30000; ++i)
        many += u"<e n=\"v" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u"\"/>";
    many += u"<l>" + long_text + u"</l></r>";
    const ObjectNumber big = xml_parse_string(GK_ANY, many.c_str());
    const ObjectNumber other = xml_parse_string(GK_ANY, u"<o>kept</o>");
    const ObjectNumber broken = xml_parse_string(GK_ANY, u"<x>");
    const std::u16string message = xml_error_message(broken);
    xml_free(broken);
    EXPECT_EQ(message, u"no element found");

    auto entries = children(xml_root(big));
    ASSERT_EQ(entries.size(), 30001u);
    for (int i = 0; i < 30000; i += 997)
        EXPECT_EQ(std::u16string(xml_node_attribute(entries[i], u"n"))[1], u'a' + i % 26);
    EXPECT_EQ(text_of(entries.back()), long_text);
    xml_free(big);
    EXPECT_EQ(text_of(xml_root(other)), u"kept");
}

TEST_F(XmlTest, NonAsciiAndSupplementaryTextRoundTrips)
{
    const std::u16string name = u"\u00e4\u65e5";
    const std::u16string value = u"\U0001F600\u00df\u20ac";
    const std::u16string text = u"\U00010348 \u0416\uFFFD";
    const std::u16string source = u"<" + name + u" k=\"" + value + u"\">" + text + u"<!--\U0001F600--></" + name + u">";
    const ObjectNumber document = xml_parse_string(GK_ANY, source.c_str());
    ASSERT_EQ(xml_error_code(document), 0);
    XmlNode* root = xml_root(document);
    EXPECT_EQ(std::u16string(xml_node_name(root)), name);
    EXPECT_EQ(std::u16string(xml_node_attribute(root, u"K")), value);
    EXPECT_EQ(text_of(root), text);
    EXPECT_EQ(xml_node_text_position(xml_node_first_child(root)), static_cast<std::int32_t>(text.size()));
    EXPECT_EQ(text_of(xml_node_first_child(root)), u"\U0001F600");
}

TEST_F(XmlTest, UnknownNumbersAndNullNodesAreRefused)
{
    EXPECT_EQ(xml_is_valid(5), 0);
    EXPECT_EQ(xml_is_valid(GK_ANY), 0);
    EXPECT_EQ(xml_document(123456789), nullptr);
    xml_free(7);
    EXPECT_EQ(xml_error_message(7), u"");
    EXPECT_EQ(xml_node_kind(nullptr), -1);
    EXPECT_EQ(std::u16string(xml_node_name(nullptr)), u"");
    EXPECT_EQ(xml_node_first_child(nullptr), nullptr);
    EXPECT_EQ(xml_node_attribute(nullptr, u"a"), nullptr);
    EXPECT_FALSE(xml_name_equal(nullptr, u""));
}

}  // namespace
