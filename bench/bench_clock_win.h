// The Windows benchmarks' clock: the performance counter, read as a start and as the seconds
// since one.
#pragma once

#include <windows.h>

inline LARGE_INTEGER bench_now()
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    return start;
}

inline double bench_seconds_since(LARGE_INTEGER start)
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}
