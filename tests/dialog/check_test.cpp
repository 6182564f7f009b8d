// The definition checker on what the preview's end-to-end test does not write: documents
// without a window, names a program declared, and nesting far beyond the engine's limit.
#include "dialog/dialog_check.h"
#include "xml/xml.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Checked {
    std::vector<DialogCheckProblem> problems;
    explicit Checked(const std::u16string& text, const RuntimeRegistry* registry = nullptr)
    {
        EXPECT_TRUE(xml_start());
        ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
        problems = dialog_check_document(document, registry);
        xml_free(document);
    }
    std::u16string all() const
    {
        std::u16string lines;
        for (const DialogCheckProblem& problem : problems)
            lines += (problem.error ? u"E " : u"W ") + problem.text + u"\n";
        return lines;
    }
};

TEST(DialogCheck, DocumentsWithoutAWindowSayWhereAndSuggestTheRoot)
{
    EXPECT_EQ(Checked(u"<windw/>").all(), u"E Dialog window not found\nW unknown root element 'windw'; did you mean "
                                          u"'window'?\n");
    Checked unread(u"<dialogs>\n <windows/><window/></dialogs>");
    ASSERT_EQ(unread.problems.size(), 1u);
    EXPECT_EQ(unread.problems[0].text, u"element 'windows' of 'dialogs' is never read; did you mean 'window'?");
    EXPECT_EQ(unread.problems[0].line, 2);
    EXPECT_EQ(unread.problems[0].column, 2);
}

TEST(DialogCheck, NumbersMayBeDeclaredNamesButNotTextWithDigits)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    runtime_declare_integer(registry.get(), u"WIDE", 300);
    EXPECT_EQ(Checked(u"<window><vbox><button width='WIDE' height=' -4 '/><text width='12px'/>"
                      u"<splitter firstmin='request'><empty/><empty/></splitter></vbox></window>",
                      registry.get())
                  .all(),
              u"W 'width' is not a number: '12px' counts as 12\n");
}

TEST(DialogCheck, NestingFarBeyondTheLimitIsOneErrorAndNoDeepWalk)
{
    std::u16string closed = u"<window>";
    for (int i = 0; i < 20000; ++i)
        closed += u"<vbox>";
    for (int i = 0; i < 20000; ++i)
        closed += u"</vbox>";
    EXPECT_EQ(Checked(closed + u"</window>").all(), u"E 'vbox' is nested deeper than 100 levels.\n");
}

}  // namespace
