#include "FrameGeometry.h"

#include <QStringList>
#include <algorithm>

QRect FrameGeometry(const QSize& APreferred, const QRect& AAvailable, const QMargins& ADecoration) {
    const QRect Room = AAvailable.marginsRemoved(ADecoration);
    const QSize Size(std::min(APreferred.width(), Room.width()),
                     std::min(APreferred.height(), Room.height()));
    QRect Inside(QPoint(0, 0), Size);
    Inside.moveCenter(Room.center());
    return Inside;
}

QString FrameStateText(const TFrameState& AState) {
    const QRect& R = AState.Normal;
    return QStringLiteral("%1,%2,%3,%4,%5")
        .arg(R.x())
        .arg(R.y())
        .arg(R.width())
        .arg(R.height())
        .arg(AState.Maximized ? QStringLiteral("maximized") : QStringLiteral("normal"));
}

std::optional<TFrameState> ParseFrameState(const QString& AText) {
    const QStringList Parts = AText.trimmed().split(QLatin1Char(','));
    if (Parts.size() != 5)
        return std::nullopt;
    int Values[4] = {};
    for (int I = 0; I < 4; ++I) {
        bool IsNumber = false;
        Values[I] = Parts[I].trimmed().toInt(&IsNumber);
        if (!IsNumber || Values[I] < -FrameSizeLimit || Values[I] > FrameSizeLimit)
            return std::nullopt;
    }
    const QString Mode = Parts[4].trimmed();
    if (Mode != QLatin1String("maximized") && Mode != QLatin1String("normal"))
        return std::nullopt;
    if (Values[2] <= 0 || Values[3] <= 0)
        return std::nullopt;
    return TFrameState{QRect(Values[0], Values[1], Values[2], Values[3]),
                       Mode == QLatin1String("maximized")};
}

namespace {

// How much of the frame, its decoration included, lies in the area.
qint64 Overlap(const QRect& AFrame, const QRect& AArea) {
    const QRect Common = AFrame.intersected(AArea);
    return Common.isEmpty() ? 0 : qint64(Common.width()) * Common.height();
}

// The frame's inside moved and shrunk so that, with its decoration, it lies
// in the area.
QRect Inside(const QRect& AFrame, const QRect& AArea, const QMargins& ADecoration) {
    const QRect Room = AArea.marginsRemoved(ADecoration);
    if (Room.isEmpty())
        return AArea;
    const QSize Size(std::min(AFrame.width(), Room.width()),
                     std::min(AFrame.height(), Room.height()));
    const int Left = std::clamp(AFrame.left(), Room.left(), Room.right() + 1 - Size.width());
    const int Top = std::clamp(AFrame.top(), Room.top(), Room.bottom() + 1 - Size.height());
    return QRect(QPoint(Left, Top), Size);
}

} // namespace

TFrameState OpeningFrameState(const std::optional<TFrameState>& AKept,
                              const QList<QRect>& AAvailable, const QMargins& ADecoration,
                              const QSize& APreferred) {
    const QRect First = AAvailable.value(0);
    if (!AKept)
        return TFrameState{FrameGeometry(APreferred, First, ADecoration), false};
    const QRect Outer = AKept->Normal.marginsAdded(ADecoration);
    qint64 Most = 0;
    const QRect* Home = nullptr;
    for (const QRect& Area : AAvailable) {
        const qint64 Covered = Overlap(Outer, Area);
        if (Covered > Most) {
            Most = Covered;
            Home = &Area;
        }
    }
    if (!Home)
        return TFrameState{FrameGeometry(APreferred, First, ADecoration), AKept->Maximized};
    return TFrameState{Inside(AKept->Normal, *Home, ADecoration), AKept->Maximized};
}
