// Dialog definitions: any text is either refused with a message and an empty tree, or
// read into a tree that both layout passes place within the layout's bounds.
#include "fuzz_support.h"

#include "dialog/dialog_reader.h"
#include "dialog/layout.h"

#include <cstdlib>

namespace {

// Sizes taken from the names, so that the layout sees varied but repeatable requests.
void required_size(void*, const DialogElement* element, int* width, int* height)
{
    *width = static_cast<int>(7 * element->name.size());
    *height = element->name.empty() ? 0 : 20 + element->name[0] % 7;
}

int attribute(void*, const DialogElement* element, int which)
{
    return static_cast<int>(element->name.size()) * 13 + which;
}

int item_height(void*, const DialogElement*)
{
    return 16;
}

void place(void*, const DialogElement*, int x, int y, int width, int height)
{
    const std::int64_t bound = 2 * std::int64_t{LAYOUT_LIMIT};
    FUZZ_CHECK(std::llabs(x) + std::llabs(y) <= bound);
    FUZZ_CHECK(std::llabs(width) + std::llabs(height) <= bound);
}

const RuntimeRegistry* registry()
{
    static RuntimeRegistryPtr made = [] {
        RuntimeRegistryPtr r = runtime_registry_new();
        runtime_declare_integer(r.get(), u"#Flag", 4);
        runtime_declare_integer(r.get(), u"Big", 0x7FFFFFFF);
        runtime_declare_float(r.get(), u"Half", 0.5);
        runtime_declare_procedure(r.get(), u"handler", [] {});
        return r;
    }();
    return made.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ObjectNumber document = fuzz_xml_document(data, size);
    DialogTree tree;
    DialogMessage message;
    const bool read = dialog_read_document(document, nullptr, registry(), &tree, &message);
    xml_free(document);
    if (!read) {
        FUZZ_CHECK(message.set && !message.text.empty() && message.text.size() < DIALOG_MESSAGE_BUFFER);
        FUZZ_CHECK(tree.elements.empty());
        return 0;
    }
    FUZZ_CHECK(tree.root);
    LayoutHost host;
    host.required_size = required_size;
    host.place = place;
    host.item_height = item_height;
    host.caption_height = item_height;
    host.get_attribute = attribute;
    int width = 0;
    int height = 0;
    layout_window(tree.root, &host, &width, &height);
    layout_allocate(tree.root, &host, 0, 0, width / 2, height / 2);
    for (const ElementPtr& element : tree.elements)
        if (element->kind == ELEMENT_SPLITTER)
            layout_splitter_part(static_cast<SplitterElement*>(element.get()), &host, 1, width, height);
    return 0;
}
