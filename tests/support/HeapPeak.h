#pragma once
#include <cstddef>

namespace glimt::test {

// The most heap held at once between Start and Peak, counted by the sanitizer's allocation
// hooks (every thread, malloc and new alike). Available only in sanitizer builds; elsewhere
// tests that need it skip.
class HeapPeak {
public:
    static bool Available();
    // Begins a measurement from the heap in use now.
    void Start();
    // Bytes above the start at the highest point since Start.
    std::size_t Peak() const;

private:
    long long m_start = 0;
};

} // namespace glimt::test
