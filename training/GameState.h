// The training game's page-wide state. The page's handlers read and write these directly.
#pragma once

#include <afxcmn.h>

#include "dictionary/PhoneticDb.h"

extern int g_nMisses;       // wrong answers and characters that reached the bottom
extern int g_nHits;         // right answers
extern int g_nTotal;        // every try: g_nHits + g_nMisses
extern float g_fHitRate;    // g_nHits / g_nTotal, a fraction (100 until the first try)
extern int g_nTextPos;      // index in the practice text of the next character to take
extern bool g_bReloadText;  // load the practice file before the next character is taken
extern bool g_bRunning;     // a character falls: the fall timer is armed
extern bool g_bHalted;      // paused, or the pass has ended; the next start resumes or begins anew

extern CToolTipCtrl g_toolTip;  // the tip of the change button
extern CPhoneticDb g_db;        // the game's own dictionary connection
