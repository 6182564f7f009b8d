#include "toolkit/control_internal.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace {

constexpr int STACK_STEP = 10;

// One window's container state: where new controls go and the containers saved under it.
struct ContainerStack {
    HWND current;
    HWND* saved;
    int depth;
    int capacity;
};

struct ContainerState {
    ContainerStack* active;  // the stack of the window that is current, or null
    wchar_t property[48];    // "GK_GadgetStack_<module handle>"
};

ContainerState* g_containers = nullptr;

ContainerStack* stack_of(HWND window)
{
    return static_cast<ContainerStack*>(GetPropW(window, g_containers->property));
}

// The window's own record, made on first use.
ContainerStack* stack_for(HWND window)
{
    if (ContainerStack* stack = stack_of(window))
        return stack;
    auto* stack = static_cast<ContainerStack*>(std::calloc(1, sizeof(ContainerStack)));
    if (!stack)
        return nullptr;
    stack->saved = static_cast<HWND*>(std::calloc(STACK_STEP, sizeof(HWND)));
    stack->capacity = STACK_STEP;
    if (!stack->saved || !SetPropW(window, g_containers->property, stack)) {
        std::free(stack->saved);
        std::free(stack);
        return nullptr;
    }
    return stack;
}

}  // namespace

int container_start()
{
    if (g_containers)
        return 1;
    g_containers = static_cast<ContainerState*>(state_block_new(sizeof(ContainerState), nullptr));
    if (!g_containers)
        return 0;
    std::swprintf(g_containers->property, 48, L"GK_GadgetStack_%llu",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr))));
    return 1;
}

int container_use_window(void* window_handle)
{
    auto window = static_cast<HWND>(window_handle);
    if (!g_containers || !window)
        return 0;
    ContainerStack* stack = stack_for(window);
    if (!stack)
        return 0;
    stack->current = window;
    g_containers->active = stack;
    return 1;
}

void container_window_gone(void* window_handle)
{
    auto window = static_cast<HWND>(window_handle);
    if (!g_containers)
        return;
    ContainerStack* stack = stack_of(window);
    if (!stack)
        return;
    RemovePropW(window, g_containers->property);
    if (g_containers->active == stack)
        g_containers->active = nullptr;
    std::free(stack->saved);
    std::free(stack);
}

void* container_current()
{
    return g_containers && g_containers->active ? g_containers->active->current : nullptr;
}

void container_set_current(void* handle)
{
    if (!g_containers)
        return;
    if (!g_containers->active)
        container_use_window(GetAncestor(static_cast<HWND>(handle), GA_ROOT));
    if (g_containers->active)
        g_containers->active->current = static_cast<HWND>(handle);
}

int container_push(void* handle)
{
    if (!g_containers || !g_containers->active)
        return 0;
    ContainerStack* stack = g_containers->active;
    if (stack->depth == stack->capacity) {
        void* grown = std::realloc(stack->saved, sizeof(HWND) * static_cast<std::size_t>(stack->capacity + STACK_STEP));
        if (!grown)
            return 0;
        stack->saved = static_cast<HWND*>(grown);
        stack->capacity += STACK_STEP;
    }
    stack->saved[stack->depth++] = stack->current;
    stack->current = static_cast<HWND>(handle);
    return 1;
}

void container_close_list()
{
    if (!g_containers || !g_containers->active)
        return;
    ContainerStack* stack = g_containers->active;
    if (stack->depth > 0)
        stack->current = stack->saved[--stack->depth];
}
