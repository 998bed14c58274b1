#include "training/GameState.h"

int g_nMisses = 0;
int g_nHits = 0;
int g_nTotal = 0;
float g_fHitRate = 0;
int g_nTextPos = 0;
bool g_bReloadText = true;
bool g_bRunning = false;
bool g_bHalted = false;

// After theApp (2000): connecting may show a message box, which needs the application's name.
CPhoneticDb g_db __attribute__((init_priority(2001)));
CToolTipCtrl g_toolTip __attribute__((init_priority(2002)));
