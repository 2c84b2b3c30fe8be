#include "tests/support/HeapPeak.h"

#include <atomic>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define GLIMT_HEAP_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GLIMT_HEAP_HOOKS 1
#endif
#endif

#ifdef GLIMT_HEAP_HOOKS
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                          void (*free_hook)(const volatile void*));
extern "C" std::size_t __sanitizer_get_allocated_size(const volatile void* p);
#endif

namespace glimt::test {

namespace {

// Heap in use as the hooks have seen it since they were installed; may go below zero when
// memory allocated before then is freed, which is why a measurement is relative.
std::atomic<std::int64_t> g_live{0};
std::atomic<std::int64_t> g_high{0};

#ifdef GLIMT_HEAP_HOOKS
void OnMalloc(const volatile void*, std::size_t size)
{
    const std::int64_t live = g_live.fetch_add(std::int64_t(size)) + std::int64_t(size);
    std::int64_t high = g_high.load();
    while (live > high && !g_high.compare_exchange_weak(high, live)) {
    }
}

void OnFree(const volatile void* p)
{
    if (p)
        g_live.fetch_sub(std::int64_t(__sanitizer_get_allocated_size(p)));
}

// Hooks cannot be removed: installed once, on the first measurement.
bool InstallHooks()
{
    return __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
}
#endif

} // namespace

bool HeapPeak::Available()
{
#ifdef GLIMT_HEAP_HOOKS
    static const bool installed = InstallHooks();
    return installed;
#else
    return false;
#endif
}

void HeapPeak::Start()
{
    Available();
    m_start = g_live.load();
    g_high.store(m_start);
}

std::size_t HeapPeak::Peak() const
{
    const std::int64_t peak = g_high.load() - m_start;
    return peak > 0 ? std::size_t(peak) : 0;
}

} // namespace glimt::test
