#pragma once
// Reading typed values off a fuzzer's bytes, and the check every target uses: a broken
// property aborts, which libFuzzer reports as a finding with the input that caused it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Hands out the input front to back; once it runs out, every value is 0.
struct FuzzInput {
    const uint8_t* data;
    size_t size;
};

template <typename T>
T take(FuzzInput& in) {
    T value{};
    const size_t n = in.size < sizeof value ? in.size : sizeof value;
    if (n > 0) std::memcpy(&value, in.data, n);
    in.data += n;
    in.size -= n;
    return value;
}
