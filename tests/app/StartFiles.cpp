// The dictionary this test program starts from: the program's dictionary objects
// connect during static construction (g_db) and with every main window (m_db), and
// the app tests need one that opens. The missing-dictionary start-up has a test of
// its own.
#include "support/InstalledFiles.h"

namespace {

const test_support::StartFiles files __attribute__((init_priority(1700))){
    [] { test_support::WriteDictionary({{L"你", L"nei5"}, {L"好", L"hou2"}}); }};

}  // namespace
