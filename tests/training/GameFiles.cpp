// The files every test of this program starts from, written before the program's
// static objects (g_db connects at static construction) and before main().
#include <windows.h>

#include <cstdio>
#include <exception>

#include "Fixtures.h"

namespace {

struct GameFiles {
    GameFiles()
    {
        try {
            WriteDictionary(GameDictionary());
            WriteAnswerSounds(300);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "cannot write the test files: %s\n", e.what());
        }
    }
};

// After the message-box answerer (1500), before theApp (2000) and g_db (2001).
GameFiles files __attribute__((init_priority(1700)));

}  // namespace
