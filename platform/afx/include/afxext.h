// Kept for sources that include it: everything lives in <afxwin.h>.
#pragma once
#include <afxwin.h>
