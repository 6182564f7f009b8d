// Thousands of random and mutated definitions are read and laid out under the
// sanitizers: every one must either fail with a message or lay out without a fault.
#include "definition_generator.h"
#include "dialog_fixture.h"

#include "app/journal_definition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

template <typename T, std::size_t N>
const T& pick(std::mt19937& random, const T (&items)[N])
{
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

struct RandomHost {
    std::mt19937* random;
};

int random_size(std::mt19937& random)
{
    static const int sizes[] = {0, 1, 16, 24, 100, 3000, 2147483647, -5, -2147483647};
    return chance(random, 4) == 0 ? pick(random, sizes) : chance(random, 200);
}

void random_required(void* context, const DialogElement*, int* width, int* height)
{
    std::mt19937& random = *static_cast<RandomHost*>(context)->random;
    *width = random_size(random);
    *height = random_size(random);
}

int random_attribute(void* context, const DialogElement*, int)
{
    return random_size(*static_cast<RandomHost*>(context)->random);
}

int random_item(void* context, const DialogElement*)
{
    return random_size(*static_cast<RandomHost*>(context)->random);
}

void lay_out(std::mt19937& random, DialogTree* tree)
{
    RandomHost context{&random};
    LayoutHost host;
    host.context = &context;
    host.required_size = random_required;
    host.get_attribute = random_attribute;
    host.item_height = random_item;
    host.caption_height = random_item;
    host.place = [](void*, const DialogElement*, int x, int y, int width, int height) {
        EXPECT_LE(std::abs(std::int64_t{x}) + std::abs(std::int64_t{y}), 2 * std::int64_t{LAYOUT_LIMIT});
        EXPECT_LE(std::abs(std::int64_t{width}) + std::abs(std::int64_t{height}), 2 * std::int64_t{LAYOUT_LIMIT});
    };
    host.edge_height = random_size(random);
    host.border_width = random_size(random);
    int width = random_size(random);
    int height = random_size(random);
    layout_window(tree->root, &host, &width, &height);
    layout_allocate(tree->root, &host, 0, 0, random_size(random), random_size(random));
    for (const ElementPtr& element : tree->elements)
        if (element->kind == ELEMENT_SPLITTER)
            layout_splitter_part(static_cast<SplitterElement*>(element.get()), &host, chance(random, 3),
                                 random_size(random), random_size(random));
    dialog_element_find(tree->root, u"nothing by this name");
}

TEST(DialogRobustness, RandomDefinitionsFailCleanlyOrLayOut)
{
    std::mt19937 random(20261207);
    RuntimeRegistryPtr registry = runtime_registry_new();
    runtime_declare_integer(registry.get(), u"#Flag", 4);
    runtime_declare_integer(registry.get(), u"Flag", 0x7FFFFFFF);
    runtime_declare_procedure(registry.get(), u"handler", [] {});
    int read = 0;
    for (int i = 0; i < 3000; ++i) {
        std::u16string text = random_definition(random);
        DialogTree tree;
        DialogMessage message;
        if (read_definition(text.c_str(), u"w", &tree, &message, i % 2 ? registry.get() : nullptr)) {
            ++read;
            lay_out(random, &tree);
        } else {
            EXPECT_FALSE(message.text.empty());
            EXPECT_LT(message.text.size(), DIALOG_MESSAGE_BUFFER);
        }
    }
    EXPECT_GT(read, 500);
}

TEST(DialogRobustness, MutatedJournalDefinitionsFailCleanlyOrLayOut)
{
    std::mt19937 random(7);
    int read = 0;
    for (int i = 0; i < 3000; ++i) {
        std::u16string text = mutate(random, JOURNAL_DEFINITION);
        DialogTree tree;
        DialogMessage message;
        if (read_definition(text.c_str(), nullptr, &tree, &message)) {
            ++read;
            lay_out(random, &tree);
        } else {
            EXPECT_FALSE(message.text.empty());
        }
    }
    EXPECT_GT(read, 100);
}

}
