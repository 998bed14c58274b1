// Reads an extended dialog template (DLGTEMPLATEEX) from a module's resources, so the
// tests can compare the real templates with the layout tables.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::wstring className;  // predefined classes by name: Button, Edit, Static, ...
    std::wstring text;       // empty when the text is a resource ordinal
    int textOrdinal = -1;    // e.g. the icon or bitmap of a picture static
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
    bool found = false;
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring title;
    int pointSize = 0;
    std::wstring fontFace;
    std::vector<DialogItem> items;
};

// The template `id` of `module` in the given language.
DialogTemplate LoadDialogTemplate(HMODULE module, int id, WORD language);
