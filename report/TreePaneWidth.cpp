#include "TreePaneWidth.h"

#include <algorithm>

int TreePane::OpeningWidth(int ATotal, int ASaved, int ANamesWidth) {
    const int Roomiest = ATotal - GridRoom;
    if (ASaved >= MinimumWidth && ASaved <= Roomiest)
        return ASaved;
    const int Widest = std::max(DesignedWidth, std::min(ATotal / 2, Roomiest));
    return std::clamp(ANamesWidth, DesignedWidth, Widest);
}
