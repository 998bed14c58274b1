// Identifiers that resource scripts share with the framework.
#pragma once
#include <winresrc.h>
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
