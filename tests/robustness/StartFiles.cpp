// The dictionary this test program starts from: the game's dictionary connects at
// start-up (static construction) and finds a good file.
#include "RobustnessTest.h"

namespace {

const test_support::StartFiles files __attribute__((init_priority(1700))){
    [] { test_support::WriteInstalledFile(test_support::kDictionaryPath, robustness::StandardDictionary()); }};

}  // namespace
