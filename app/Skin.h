// The window skin: SkinH.dll beside the program, attached once at start-up.
#pragma once

// Loads SkinH.dll from the program's own folder and calls its SkinH_Attach once.
// Nothing happens when the library or the function is missing; the library stays
// loaded for the life of the process, since the skin stays attached to our windows.
void AttachSkin();
