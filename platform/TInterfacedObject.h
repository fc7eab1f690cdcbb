#pragma once

#include "IInterface.h"

#include <atomic>

// What an interfaced object does when its count falls to zero.
// Nothing: someone else owns the object.
struct TKeepOnLastRelease {
    template <class T> static void LastReleased(T*) {}
};
// Deletes it: the references own the object.
struct TDeleteOnLastRelease {
    template <class T> static void LastReleased(T* AObject) { delete AObject; }
};
// Calls the object's own LastReleased().
struct TNotifyOnLastRelease {
    template <class T> static void LastReleased(T* AObject) { AObject->LastReleased(); }
};

// The reference-counted implementation of one interface TIntf for the class
// TDerived that derives from it: query-interface answers TIntf's identifier
// and the root one with the TIntf pointer; the count changes only
// atomically, so references may be dropped on any thread; each time it falls
// to zero TLastRelease decides what happens. The interface's slots keep
// their order: this adds none.
template <class TDerived, class TIntf, class TLastRelease> class TInterfacedObject : public TIntf {
public:
    HResult QueryInterface(const QUuid& AIid, void** AObj) override {
        if (AIid == TIntf::Iid() || AIid == IInterface::Iid()) {
            _AddRef();
            *AObj = static_cast<TIntf*>(this);
            return S_OK;
        }
        *AObj = nullptr;
        return E_NOINTERFACE;
    }

    int _AddRef() override { return ++FRefCount; }

    int _Release() override {
        const int Count = --FRefCount;
        if (Count == 0)
            TLastRelease::LastReleased(static_cast<TDerived*>(this));
        return Count;
    }

    int RefCount() const { return FRefCount.load(); }

protected:
    explicit TInterfacedObject(int AInitialCount = 0)
        : FRefCount(AInitialCount) {}
    ~TInterfacedObject() = default;

private:
    std::atomic<int> FRefCount;
};
