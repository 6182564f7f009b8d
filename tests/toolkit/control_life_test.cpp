// Random sequences of create, raise and free over the event layer and the controls' life
// check, as a kind meets them: a handler may free the control that raised its event, another
// one, or make new ones (taking a freed fixed number or address again), and may raise events
// itself. After each raise the kind touches its record only while control_life_record finds
// it; the sanitizers of the host build catch any touch of freed memory, and the model checks
// that the answer is right.
#include "toolkit/control_internal.h"
#include "toolkit/event.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>

namespace {

constexpr ObjectNumber WINDOW = 1;

struct Model {
    ObjectTable* table = nullptr;
    std::mt19937 random{1};
    std::uint64_t last_stamp = 0;
    std::map<ObjectNumber, std::uint64_t> live;  // number -> stamp
    int depth = 0;
    int touched = 0;
};

Model* g_model = nullptr;

void on_event();

int pick(int below)
{
    return static_cast<int>(g_model->random() % static_cast<unsigned>(below));
}

void create()
{
    ObjectNumber requested = pick(3) == 0 ? pick(6) : GK_ANY;
    if (requested != GK_ANY && g_model->live.count(requested))
        return;
    auto* record = static_cast<ControlRecord*>(object_new(g_model->table, requested));
    ASSERT_NE(record, nullptr);
    ObjectNumber number = object_number_for(requested, record);
    record->handle = record;
    record->stamp = ++g_model->last_stamp;
    record->kind_data = new int[4]();
    g_model->live[number] = record->stamp;
    event_bind(EVENT_GADGET, on_event, WINDOW, number, -1);
}

void destroy(ObjectNumber number)
{
    auto* record = static_cast<ControlRecord*>(object_get(g_model->table, number));
    if (!record)
        return;
    delete[] static_cast<int*>(record->kind_data);
    event_unqueue(EVENT_GADGET, number, -1, -1);
    event_unbind_all_of_object(EVENT_GADGET, number);
    object_free(g_model->table, number);
    g_model->live.erase(number);
}

ObjectNumber any_live()
{
    if (g_model->live.empty())
        return 0;
    auto at = g_model->live.begin();
    std::advance(at, pick(static_cast<int>(g_model->live.size())));
    return at->first;
}

// What a kind does: raise, then touch its record (and its kind data) only while it lives.
void raise(ObjectNumber number)
{
    auto* record = static_cast<ControlRecord*>(object_get(g_model->table, number));
    if (!record)
        return;
    ControlLife life = {number, record->stamp};
    event_post(EVENT_GADGET, number, WINDOW, pick(4));
    ControlRecord* after = control_life_record(g_model->table, life);
    auto known = g_model->live.find(number);
    bool same = known != g_model->live.end() && known->second == life.stamp;
    ASSERT_EQ(after != nullptr, same);
    if (after) {
        static_cast<int*>(after->kind_data)[pick(4)] += 1;
        ++g_model->touched;
    }
}

void on_event()
{
    if (g_model->depth > 4)
        return;
    ++g_model->depth;
    switch (pick(6)) {
    case 0: destroy(event_control()); break;
    case 1: destroy(any_live()); break;
    case 2: create(); break;
    case 3: raise(any_live()); break;
    case 4:
        destroy(event_control());
        create();
        break;
    default: break;
    }
    --g_model->depth;
}

TEST(ControlLifeTest, RandomCreateRaiseAndFreeNeverTouchAFreedControl)
{
    ASSERT_EQ(event_start(), 1);
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Model model;
        model.random.seed(seed);
        model.table = object_table_new(sizeof(ControlRecord), 8, nullptr);
        g_model = &model;
        for (int step = 0; step < 300; ++step) {
            if (pick(3) == 0)
                create();
            else
                raise(any_live());
            if (pick(8) == 0)
                destroy(any_live());
            while (event_pop()) {
            }
        }
        while (!model.live.empty())
            destroy(model.live.begin()->first);
        EXPECT_EQ(event_binding_count(), 0u);
        object_table_delete(model.table);
        g_model = nullptr;
        ASSERT_GT(model.touched, 0) << seed;
    }
}

}  // namespace
