#pragma once

#include "hostcontext/PlugInHostSdk.h"

#include <QList>

// A host notifier that remembers every PlugInReleased it receives.
class RecordingPlugInManager : public IPlugInManager {
public:
    HResult QueryInterface(const QUuid&, void**) override { return E_NOINTERFACE; }
    int _AddRef() override { return 1; }
    int _Release() override { return 1; }
    void PlugInReleased(std::uint32_t APlugInId) override { Released.append(APlugInId); }

    QList<std::uint32_t> Released;
};
