#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property ends the run as a finding, saying which one.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}
