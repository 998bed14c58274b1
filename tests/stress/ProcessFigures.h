// The process's own figures: kernel handles, GDI and USER objects, working set
// and private bytes. Printed at the start and end of long runs to show growth.
//
// Wine 8 answers GetProcessHandleCount with 0 and GetGuiResources with "not
// implemented", and leaves PrivateUsage at 0. There the figures are counted
// instead: handles by asking each handle value for its flags, GDI objects from
// the process's GDI handle table, USER objects as the windows of the process
// (message-only ones included); private bytes are the commit charge
// (PagefileUsage, which Windows documents as the same figure). `counted` says so.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct ProcessFigures {
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    uint64_t workingSetBytes = 0;
    uint64_t privateBytes = 0;
    bool counted = false;  // handles and GUI objects counted, not reported by the system

    static ProcessFigures Now();
    // One line: "handles 123, GDI 4, USER 17, working set 12.3 MB, private 8.1 MB".
    std::string Line() const;
    // The change from `before` to this, in the same form (signed).
    std::string GrowthSince(const ProcessFigures& before) const;
};
