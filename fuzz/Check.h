// A failed property in a fuzz target: trap, so libFuzzer keeps the input that broke it
// (assert would vanish under NDEBUG).
#pragma once

#define CHECK(cond)           \
    do {                      \
        if (!(cond))          \
            __builtin_trap(); \
    } while (0)
