#include "xml/xml.h"

#include "services/utf8.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class XmlBadInputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(xml_start()); }
    void TearDown() override { xml_free(GK_ANY); }
};

std::u16string nested(int depth, bool closed)
{
    std::u16string text;
    for (int i = 0; i < depth; ++i)
        text += u"<e>";
    if (closed) {
        for (int i = 0; i < depth; ++i)
            text += u"</e>";
    }
    return text;
}

TEST_F(XmlBadInputTest, NullTextParsesAsEmpty)
{
    const ObjectNumber document = xml_parse_string(GK_ANY, nullptr);
    ASSERT_NE(document, 0);
    EXPECT_EQ(xml_error_code(document), XML_ERROR_NO_ELEMENTS);
    EXPECT_EQ(xml_root(document), nullptr);
    EXPECT_EQ(xml_line_break_style(document), XML_LINE_BREAK_NONE);
}

TEST_F(XmlBadInputTest, DeepNestingIsBuiltAndFreedWithoutRecursion)
{
    for (int depth : {10000, 200000}) {
        for (bool closed : {true, false}) {
            const ObjectNumber document = xml_parse_string(GK_ANY, nested(depth, closed).c_str());
            EXPECT_EQ(xml_error_code(document), closed ? 0 : XML_ERROR_NO_ELEMENTS);
            int levels = 0;
            for (XmlNode* node = xml_root(document); node; node = xml_node_first_child(node))
                ++levels;
            EXPECT_EQ(levels, depth);
            xml_free(document);
        }
    }
}

TEST_F(XmlBadInputTest, AttributeCountsBeyondSixteenBits)
{
    constexpr int COUNT = 40000;
    std::u16string text = u"<e";
    for (int i = 0; i < COUNT - 1; ++i)
        text += u" a" + utf8_decode(std::to_string(i)) + u"=\"" + utf8_decode(std::to_string(i * 3)) + u"\"";
    text += u" iD=\"last\"/>";
    XmlNode* e = xml_root(xml_parse_string(GK_ANY, text.c_str()));
    ASSERT_EQ(xml_node_attribute_count(e), COUNT);
    EXPECT_EQ(e->id_attribute, COUNT - 1);
    EXPECT_EQ(std::u16string(xml_node_attribute_value(e, 33333)), u"99999");
    EXPECT_EQ(std::u16string(xml_node_attribute(e, u"ID")), u"last");
}

TEST_F(XmlBadInputTest, LoneSurrogatesBecomeReplacementCharacters)
{
    const char16_t text[] = {u'<', u'a', u' ', u'k', u'=', u'"', 0xDC00, u'"', u'>', 0xD800, u'x', 0xD83D,
                             u'<', u'/', u'a', u'>', 0};
    const ObjectNumber document = xml_parse_string(GK_ANY, text);
    ASSERT_EQ(xml_error_code(document), 0);
    XmlNode* a = xml_root(document);
    EXPECT_EQ(std::u16string(xml_node_text(a)), u"\uFFFDx\uFFFD");
    EXPECT_EQ(std::u16string(xml_node_attribute(a, u"k")), u"\uFFFD");
}

TEST_F(XmlBadInputTest, CharactersOutsideXmlAndEntityBombsAreErrors)
{
    const ObjectNumber noncharacter = xml_parse_string(GK_ANY, u"<a>\uFFFE</a>");
    EXPECT_EQ(xml_error_code(noncharacter), XML_ERROR_INVALID_TOKEN);
    EXPECT_EQ(xml_error_column(noncharacter), 4);

    std::u16string bomb = u"<!DOCTYPE b [<!ENTITY e0 \"xxxxxxxxxxxxxxxx\">";
    for (int i = 1; i < 10; ++i) {
        const std::u16string previous = u"&e" + utf8_decode(std::to_string(i - 1)) + u";";
        bomb += u"<!ENTITY e" + utf8_decode(std::to_string(i)) + u" \"";
        for (int j = 0; j < 10; ++j)
            bomb += previous;
        bomb += u"\">";
    }
    bomb += u"]><b>&e9;</b>";
    const ObjectNumber document = xml_parse_string(GK_ANY, bomb.c_str());
    const std::int32_t code = xml_error_code(document);
    EXPECT_NE(code, 0);
    EXPECT_EQ(xml_error_message(document), utf8_decode(XML_ErrorString(static_cast<XML_Error>(code))));
}

}  // namespace
