#pragma once

#include <utility>

// An interface variable: holds one counted reference and releases it when
// cleared, reassigned or destroyed.
template <class T> class TInterfacePtr {
public:
    TInterfacePtr() = default;
    TInterfacePtr(T* AIntf)
        : FIntf(AIntf) {
        if (FIntf)
            FIntf->_AddRef();
    }
    TInterfacePtr(const TInterfacePtr& AOther)
        : TInterfacePtr(AOther.FIntf) {}
    TInterfacePtr(TInterfacePtr&& AOther) noexcept
        : FIntf(std::exchange(AOther.FIntf, nullptr)) {}
    ~TInterfacePtr() { Clear(); }

    TInterfacePtr& operator=(TInterfacePtr AOther) noexcept {
        std::swap(FIntf, AOther.FIntf);
        return *this;
    }

    void Clear() {
        if (T* Old = std::exchange(FIntf, nullptr))
            Old->_Release();
    }

    // Gives up the held reference without releasing it.
    T* Detach() { return std::exchange(FIntf, nullptr); }

    T* Get() const { return FIntf; }
    T* operator->() const { return FIntf; }
    explicit operator bool() const { return FIntf != nullptr; }

private:
    T* FIntf = nullptr;
};
