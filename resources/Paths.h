// The fixed places the program uses. They are compiled in: the program never asks
// where it is installed, and paths are formed by plain concatenation (SoundDir +
// spelling + ".wav", InstallDir + the video's name).
#pragma once

inline constexpr wchar_t kInstallDir[] = L"C:\\Program Files\\Lorvane\\";
inline constexpr wchar_t kSoundDir[] = L"C:\\Program Files\\Lorvane\\sound\\";
inline constexpr wchar_t kVideoName[] = L"yueyupinying.wmv";    // in kInstallDir
inline constexpr wchar_t kPracticeName[] = L"xunlian.txt";      // in kInstallDir
inline constexpr wchar_t kHitSound[] = L"ok.wav";               // in kSoundDir
inline constexpr wchar_t kMissSound[] = L"ng.wav";              // in kSoundDir
inline constexpr wchar_t kWebsiteUrl[] = L"https://www.lorvane.cn/";  // opened on every close
