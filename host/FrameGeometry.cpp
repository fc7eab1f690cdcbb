#include "FrameGeometry.h"

#include <algorithm>

QRect FrameGeometry(const QSize& APreferred, const QRect& AAvailable, const QMargins& ADecoration) {
    const QRect Room = AAvailable.marginsRemoved(ADecoration);
    const QSize Size(std::min(APreferred.width(), Room.width()),
                     std::min(APreferred.height(), Room.height()));
    QRect Inside(QPoint(0, 0), Size);
    Inside.moveCenter(Room.center());
    return Inside;
}
