#include "app/Paths.h"

const wchar_t kInstallDir[] = L"C:\\Program Files\\Lorvane\\";
const wchar_t kSoundDir[] = L"C:\\Program Files\\Lorvane\\sound\\";
const wchar_t kVideoName[] = L"yueyupinying.wmv";
const wchar_t kWebsiteUrl[] = L"https://www.lorvane.cn/";
