#include "FrameGeometryStore.h"

#include "platform/Exception.h"
#include "platform/settings/TRegistryStore.h"

#include <QWidget>

namespace {

const QString KeyPath = QStringLiteral("Software\\Varnholt");
const QString Section = QStringLiteral("Host");
const QString Value = QStringLiteral("Frame");

} // namespace

std::optional<TFrameState> ReadFrameState() {
    try {
        TRegistryStore Store;
        Store.SetRootKey(Reg_Current_User);
        if (!Store.OpenKey(KeyPath, false))
            return std::nullopt;
        return ParseFrameState(Store.ReadString(Section, Value));
    } catch (const Exception&) {
        return std::nullopt;
    }
}

void WriteFrameState(const TFrameState& AState) {
    TRegistryStore Store;
    Store.SetRootKey(Reg_Current_User);
    if (!Store.OpenKey(KeyPath, true))
        throw EInOutError(QStringLiteral("无法打开用户设置 %1").arg(Store.FileName()));
    Store.WriteString(Section, Value, FrameStateText(AState));
}

TFrameState CaptureFrameState(const QWidget& AWindow) {
    const bool Maximized = AWindow.isMaximized();
    // A maximized frame keeps the place it returns to when restored.
    return TFrameState{Maximized ? AWindow.normalGeometry() : AWindow.geometry(), Maximized};
}

void ApplyFrameState(QWidget& AWindow, const TFrameState& AState) {
    AWindow.setGeometry(AState.Normal);
    if (AState.Maximized)
        AWindow.setWindowState(AWindow.windowState() | Qt::WindowMaximized);
}
