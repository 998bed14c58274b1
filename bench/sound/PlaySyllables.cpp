// Plays WAV files one after another through PlaySound, each to its end, at the
// device's full volume: what Wine itself delivers, beside the program's read-aloud in
// the sound benchmark (tools/benchmarks/sound.sh).
//   bench_sound FILE...   (paths as Windows names them, or relative to the current folder)
// Prints one line per file and exits 0 when every file played, 1 otherwise.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::printf("usage: bench_sound FILE...\n");
        return 2;
    }
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        // SND_NODEFAULT: a file that cannot be played stays silent instead of
        // sounding the system beep, which would be taken for a syllable.
        const DWORD t0 = GetTickCount();
        const bool played = PlaySoundW(argv[i], nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT) != FALSE;
        std::printf("%ls: %s (%lu ms)\n", argv[i], played ? "played" : "NOT PLAYED",
                    static_cast<unsigned long>(GetTickCount() - t0));
        failed += !played;
    }
    std::fflush(stdout);
    return failed ? 1 : 0;
}
