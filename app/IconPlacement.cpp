#include "app/IconPlacement.h"

POINT MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    return POINT{(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
