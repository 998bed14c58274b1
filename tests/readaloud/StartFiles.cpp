// The dictionary this test program starts from: written before the program's static
// dictionary object connects (it then finds a table) and before main().
#include "support/InstalledFiles.h"

namespace {

const test_support::StartFiles files __attribute__((init_priority(1700))){
    [] { test_support::WriteDictionary({{L"你", L"nei5"}, {L"好", L"hou2"}}); }};

}  // namespace
