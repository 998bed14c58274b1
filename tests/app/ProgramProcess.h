// Lorvane.exe as another process: where it is, and its main window.
#pragma once

#include <windows.h>

#include <string>

// Lorvane.exe in the folder of this test program (the build puts them side by side).
std::wstring ProgramBesideUs();
// The main window of process `pid`, shown or not, found by its caption; nullptr if none.
HWND MainWindowOf(DWORD pid);
