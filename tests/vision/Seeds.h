#pragma once
// Seeds chosen at random at each run and printed; ZENTRAK_SEED=N repeats a
// run that failed.

#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

namespace zt::test {

inline unsigned runSeed(const char* what) {
    const char* fixed = std::getenv("ZENTRAK_SEED");
    const unsigned seed = fixed ? static_cast<unsigned>(std::stoul(fixed)) : std::random_device{}();
    std::cout << what << " seed " << seed << " (ZENTRAK_SEED=" << seed << " repeats it)"
              << std::endl;
    return seed;
}

} // namespace zt::test
