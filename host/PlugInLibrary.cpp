#include "PlugInLibrary.h"

#include <QFileInfo>

PlugInLibrary::PlugInLibrary(const QString& APath)
    : FLibrary(APath) {}

PlugInLibrary::~PlugInLibrary() {
    if (FLibrary.isLoaded())
        FLibrary.unload();
}

bool PlugInLibrary::Load() {
    if (!QFileInfo::exists(FLibrary.fileName())) {
        FError = QStringLiteral("找不到插件 %1").arg(FLibrary.fileName());
        return false;
    }
    if (!FLibrary.load()) {
        FError =
            QStringLiteral("无法加载插件 %1：%2").arg(FLibrary.fileName(), FLibrary.errorString());
        return false;
    }
    FEntry = reinterpret_cast<TShowPlugInWindow>(FLibrary.resolve(ShowPlugInWindowSymbol));
    if (!FEntry) {
        FError = QStringLiteral("插件 %1 没有导出 %2")
                     .arg(FLibrary.fileName(), QString::fromLatin1(ShowPlugInWindowSymbol));
        FLibrary.unload();
        return false;
    }
    return true;
}

std::int32_t PlugInLibrary::ShowPlugInWindow(const QString& AClassName,
                                             TPlugInHostRecord* AHost) const {
    if (!FEntry)
        return -1;
    const QByteArray Name = AClassName.toLatin1();
    return FEntry(Name.constData(), AHost);
}
