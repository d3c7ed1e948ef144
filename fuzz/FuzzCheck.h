// Invariant checks of the fuzz targets: a broken invariant prints what broke and aborts, so libFuzzer keeps the
// input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace qm::fuzz
{

/// Aborts with the message when the condition does not hold.
inline void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace qm::fuzz
