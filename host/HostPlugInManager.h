#pragma once

#include "hostcontext/PlugInHostSdk.h"

#include <QObject>
#include <atomic>

// The host's notifier handed to the plug-in; turns PlugInReleased into a
// Qt signal for the main window.
class HostPlugInManager : public QObject, public IPlugInManager {
    Q_OBJECT
public:
    explicit HostPlugInManager(QObject* AParent = nullptr);

    HResult QueryInterface(const QUuid& AIid, void** AObj) override;
    int _AddRef() override;
    int _Release() override;
    void PlugInReleased(std::uint32_t APlugInId) override;

    static QUuid Iid() { return QUuid(QStringLiteral("{6F1C2B7A-5E43-4C0D-9A61-2B8E7D4F1C30}")); }

signals:
    void Released(quint32 APlugInId);

private:
    // The host owns this object; counting is kept for the interface's sake.
    std::atomic<int> FRefCount{1};
};
