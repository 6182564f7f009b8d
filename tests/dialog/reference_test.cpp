// The authors' reference names every element, attribute and flag of the engine's own
// tables, and replaces only what lies below its mark in the guide.
#include "dialog/dialog_attributes.h"
#include "dialog/dialog_language.h"
#include "dialog/dialog_reference.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string narrow(const char16_t* text)
{
    return std::string(text, text + std::char_traits<char16_t>::length(text));
}

TEST(DialogReference, NamesEveryElementAttributeEventAndFlagOfTheTables)
{
    const std::string reference = dialog_reference_text();
    std::size_t flags = 0;
    for (const ElementInfo& element : dialog_elements()) {
        const std::size_t section = reference.find("\n<" + narrow(element.name) + ">\n");
        ASSERT_NE(section, std::string::npos) << narrow(element.name);
        const std::size_t end = reference.find("\n\n", section + 1);
        for (const FlagName& flag : element.flags) {
            EXPECT_NE(reference.substr(section, end - section).find(narrow(flag.name) + " 0x"), std::string::npos)
                << narrow(flag.name) << " under " << narrow(element.name);
            ++flags;
        }
    }
    EXPECT_GT(flags, 100u);
    for (const AttributeInfo& row : dialog_attributes())
        EXPECT_NE(reference.find("  " + narrow(row.name) + " "), std::string::npos) << narrow(row.name);
    for (const EventAttribute& event : dialog_event_attributes())
        EXPECT_NE(reference.find(narrow(event.name)), std::string::npos) << narrow(event.name);
}

TEST(DialogReference, TheGuideKeepsItsIntroductionAndGetsTheReferenceOnce)
{
    const std::string intro = "Hand-written words.\n";
    const std::string first = dialog_reference_in_guide(intro);
    EXPECT_EQ(first, intro + dialog_reference_text());
    EXPECT_EQ(dialog_reference_in_guide(first), first);
    EXPECT_EQ(dialog_reference_in_guide(intro + DIALOG_REFERENCE_MARK + "\nstale\n"), first);
}

}  // namespace
