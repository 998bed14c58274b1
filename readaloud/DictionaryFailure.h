// Tells the learner that a read-aloud ended because the dictionary failed.
#pragma once

#include <comdef.h>

// Shows one message box (the program's name as caption) with the error's
// description, or its code when the error carries none.
void ReportDictionaryFailure(const _com_error& e);
