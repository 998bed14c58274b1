// The rich text control, as far as plain text goes: a hidden child window that
// loads a text file and whose window text is then that file's whole text. Automated through the IDispatch its window hands out for the
// hosting message (platform/hosting):
//   LoadFile  DISPID 37  method  (BSTR path, VARIANT type): type 1 (plain text,
//                                the only one) replaces the text with the
//                                file's; a file that cannot be loaded gives
//                                DISP_E_EXCEPTION with a description for the
//                                user, and the text stays as it was.
// The file is decoded as its editor saved it: UTF-16 with a byte-order mark,
// UTF-8 with or without one, otherwise the ANSI code page. Line breaks stay as
// they are in the file.
#pragma once

#include <windows.h>

namespace richtext {

inline constexpr wchar_t kClassName[] = L"RichTextCtl";

// Registers the window class once per process; later calls do nothing.
void RegisterWindowClass(HINSTANCE instance);

}  // namespace richtext
