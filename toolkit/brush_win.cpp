#include "toolkit/control_internal.h"

#include <windows.h>

#include <vector>

namespace {

struct SharedBrush {
    COLORREF color;
    HBRUSH brush;
    int references;
};

CRITICAL_SECTION g_brush_lock;
bool g_brush_lock_ready = false;
std::vector<SharedBrush>* g_brushes = nullptr;

// Holds the lock for the life of a scope.
struct BrushLock {
    BrushLock() { EnterCriticalSection(&g_brush_lock); }
    ~BrushLock() { LeaveCriticalSection(&g_brush_lock); }
    BrushLock(const BrushLock&) = delete;
    BrushLock& operator=(const BrushLock&) = delete;
};

}  // namespace

void brush_start()
{
    if (g_brush_lock_ready)
        return;
    InitializeCriticalSection(&g_brush_lock);
    g_brushes = new std::vector<SharedBrush>;
    g_brush_lock_ready = true;
}

void* brush_acquire(std::int32_t color)
{
    if (!g_brush_lock_ready)
        return nullptr;
    BrushLock lock;
    auto wanted = static_cast<COLORREF>(color);
    for (SharedBrush& shared : *g_brushes) {
        if (shared.color == wanted) {
            ++shared.references;
            return shared.brush;
        }
    }
    HBRUSH brush = CreateSolidBrush(wanted);
    if (brush)
        g_brushes->push_back(SharedBrush{wanted, brush, 1});
    return brush;
}

void brush_release(void* brush)
{
    if (!brush || !g_brush_lock_ready)
        return;
    BrushLock lock;
    for (auto it = g_brushes->begin(); it != g_brushes->end(); ++it) {
        if (it->brush != brush)
            continue;
        if (--it->references == 0) {
            DeleteObject(it->brush);
            g_brushes->erase(it);
        }
        return;
    }
}

std::size_t brush_count()
{
    if (!g_brush_lock_ready)
        return 0;
    BrushLock lock;
    return g_brushes->size();
}
