// DialogPreview --check as an author runs it: every problem of a definition, each at the
// line and column where the test wrote the element, in the form compilers use; the exit
// code tells whether any of them is an error.
#include "journal_helpers.h"
#include "preview_process.h"

#include "app/journal_definition.h"
#include "services/text_convert.h"
#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PreviewCheck : public ::testing::Test {
protected:
    // Writes the definition and returns its path as the program prints it.
    std::string write(const char16_t* name, const std::string& text)
    {
        EXPECT_TRUE(raw_write(folder / name, text));
        return utf16_to_utf8((folder / name).c_str());
    }

    // "FILE:LINE:COLUMN: " of the first place where `tag` was written in the text.
    static std::string place(const std::string& file, const std::string& text, const std::string& tag)
    {
        const std::size_t at = text.find(tag);
        EXPECT_NE(at, std::string::npos) << tag;
        const std::size_t line_start = text.rfind('\n', at);
        const std::size_t line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');
        const std::size_t column = line_start == std::string::npos ? at + 1 : at - line_start;
        return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
    }

    // Runs the check; the whole output once the program has ended and its last line is in.
    std::string check(const std::wstring& arguments, int expected_code, const std::string& last_line)
    {
        Preview preview(L"--check " + arguments);
        EXPECT_TRUE(preview.started());
        EXPECT_EQ(preview.exit_code(30000), expected_code);
        EXPECT_TRUE(gui_poll_until([&] { return preview.output_has(last_line); })) << preview.output();
        return preview.output();
    }

    static std::wstring quoted(const std::string& path)
    {
        const std::u16string wide = utf8_to_utf16(path.c_str());
        return L"\"" + std::wstring(wide.begin(), wide.end()) + L"\"";
    }

    TempFolder folder{"qn-check"};
};

TEST_F(PreviewCheck, FiveProblemsGiveFiveLinesAtTheirPlacesAndExitOne)
{
    const std::string text = "<dialogs>\n"
                             "  <window name='w' text='Checked'>\n"
                             "    <vbox spacing='abc'>\n"
                             "      <buton text='a'/>\n"
                             "\t<button expnd='yes' flags='#GK_Buton_Default'/>\n"
                             "      <text text='\xC3\xA9\xC3\xA9'/> <string onchange='nothere'/>\n"
                             "    </vbox>\n"
                             "  </window>\n"
                             "</dialogs>\n";
    const std::string file = write(u"five.xml", text);
    const std::string expected =
        place(file, text, "<vbox") + "warning: 'spacing' is not a number: 'abc' counts as 0\n" +
        place(file, text, "<buton") +
        "warning: unknown element 'buton' is skipped with everything in it; did you mean 'button'?\n" +
        place(file, text, "<button") +
        "error: '#GK_Buton_Default' flag is not supported for the following gadget: button\n" +
        place(file, text, "<button") + "warning: unknown attribute 'expnd'; did you mean 'expand'?\n" +
        // Columns count characters: the two-byte letters before it are one column each.
        file + ":6:25: error: 'nothere' is not a runtime procedure.\n";
    EXPECT_EQ(check(quoted(file), 1, "runtime procedure.\n"), expected);
}

TEST_F(PreviewCheck, WarningsAloneExitZeroAndNamesMatterOnlyForControls)
{
    const std::string text = "<window text='Warned'>\n"
                             "  <vbox name='row' onchange='x'>\n"
                             "    <empty name='gap'/><empty name='GAP'/>\n"
                             "    <button name='ok' columns='2'/>\n"
                             "    <text name='OK'/>\n"
                             "  </vbox>\n"
                             "</window>\n";
    const std::string file = write(u"warned.xml", text);
    const std::string expected = place(file, text, "<vbox") + "warning: 'onchange' is ignored on 'vbox'\n" +
                                 place(file, text, "<button") + "warning: 'columns' is ignored on 'button'\n" +
                                 place(file, text, "<text") +
                                 "warning: name 'OK' is already used at line 4 in this window; lookups find "
                                 "only the first\n";
    EXPECT_EQ(check(quoted(file), 0, "only the first\n"), expected);
}

TEST_F(PreviewCheck, ABrokenFileAndAPlatformRefusalAreErrorsAtTheirPlaces)
{
    const std::string broken = write(u"broken.xml", "<window>\n  <vbox>\n  </hbox>\n</window>\n");
    const std::string text = "<window>\n <container id='7'><vbox>\n  <button id='7'/></vbox></container></window>";
    const std::string refused = write(u"refused.xml", text);
    const std::string output = check(quoted(broken) + L" " + quoted(refused), 1, "of a container it is in.\n");
    EXPECT_EQ(output, broken + ":3:5: error: Dialog definition is not well-formed: mismatched tag at line 3.\n" +
                          place(refused, text, "<button") +
                          "error: 'button' cannot take the id 7 of a container it is in.\n");
}

TEST_F(PreviewCheck, TheExampleAndTheJournalsOwnDefinitionAreClean)
{
    const std::string journal = write(u"journal.xml", utf16_to_utf8(JOURNAL_DEFINITION));
    Preview preview(L"--check example_dialog.xml " + quoted(journal));
    ASSERT_TRUE(preview.started());
    EXPECT_EQ(preview.exit_code(30000), 0);
    EXPECT_EQ(preview.output(), "");
}

}  // namespace
