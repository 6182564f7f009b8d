// Checks a definition of 1,000 elements and the journal's own, against the engine's plain
// reading of the same parsed document: the ratio is what listing every problem and the
// warnings' look-ups cost over reading alone.
#include "app/journal_definition.h"
#include "dialog/dialog_check.h"
#include "dialog/dialog_reader.h"
#include "xml/xml.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr int ROUNDS = 200;

// 1,002 elements: 100 rows of a label, a field, a misspelt element (each a warning) and
// a few controls with numbers.
std::u16string thousand_elements()
{
    std::u16string text = u"<window name='big' text='Big'><vbox>";
    for (int row = 0; row < 100; ++row) {
        const std::u16string n = std::u16string(1, u'a' + row % 26) + std::u16string(1, u'a' + row / 26);
        text += u"<hbox spacing='4'><text text='Name'/><string name='s" + n + u"'/><buton/>"
                u"<spin name='p" + n + u"' min='0' max='9' value='abc'/><checkbox text='x'/>"
                u"<button text='Go' width='80'/><empty width='5'/><option text='o'/><progressbar/></hbox>";
    }
    return text + u"</vbox></window>";
}

// The mean of ROUNDS runs after one that warms the caches.
double seconds_of(void (*work)(ObjectNumber), ObjectNumber document)
{
    work(document);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ROUNDS; ++i)
        work(document);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / ROUNDS;
}

void read_only(ObjectNumber document)
{
    DialogTree tree;
    DialogMessage message;
    dialog_read_document(document, nullptr, nullptr, &tree, &message);
}

void check(ObjectNumber document)
{
    dialog_check_document(document, nullptr);
}

void measure(const char* name, const std::u16string& text)
{
    const ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
    const double reading = seconds_of(read_only, document);
    const double checking = seconds_of(check, document);
    std::printf("%-26s %5zu problems  check %8.3f ms  = %5.2f x the engine's reading (%.3f ms)\n", name,
                dialog_check_document(document, nullptr).size(), checking * 1e3, checking / reading, reading * 1e3);
    xml_free(document);
}

}  // namespace

int main()
{
    if (!xml_start())
        return 1;
    measure("journal's definition", JOURNAL_DEFINITION);
    measure("1,000 elements", thousand_elements());
    return 0;
}
