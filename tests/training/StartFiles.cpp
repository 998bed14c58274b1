// The files every test of this program starts from, written before the program's
// static objects (g_db connects at static construction) and before main().
#include "TrainingTest.h"

namespace {

const test_support::StartFiles files __attribute__((init_priority(1700))){[] {
    WriteDictionary(GameDictionary());
    WriteAnswerSounds();
}};

}  // namespace
