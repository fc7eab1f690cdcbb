#pragma once

#include "hostcontext/PlugInHostSdk.h"
#include "platform/TInterfacedObject.h"

#include <QObject>

// The host's notifier handed to the plug-in; turns PlugInReleased into a
// Qt signal for the main window. The host owns this object; counting is kept
// for the interface's sake.
class HostPlugInManager
    : public QObject,
      public TInterfacedObject<HostPlugInManager, IPlugInManager, TKeepOnLastRelease> {
    Q_OBJECT
public:
    explicit HostPlugInManager(QObject* AParent = nullptr);

    void PlugInReleased(std::uint32_t APlugInId) override;

signals:
    void Released(quint32 APlugInId);
};
