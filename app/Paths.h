// The fixed places the program uses. They are compiled in: the program never asks
// where it is installed, and paths are formed by plain concatenation.
#pragma once

extern const wchar_t kInstallDir[];  // L"C:\\Program Files\\Lorvane\\"
extern const wchar_t kSoundDir[];    // L"C:\\Program Files\\Lorvane\\sound\\"
extern const wchar_t kVideoName[];   // the study video, in kInstallDir
extern const wchar_t kWebsiteUrl[];  // the product's website, opened on every close
