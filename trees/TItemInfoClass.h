#pragma once

#include "TItemInfo.h"

#include <memory>
#include <type_traits>

// A class reference for TItemInfo and its descendants: it creates objects of
// the class it names, with their fields empty. Two references are equal when
// they name the same class.
//
//     ItemInfoClass = TItemInfoClass::Of<TUnitInfo>();
class TItemInfoClass {
public:
    // TItemInfo itself.
    TItemInfoClass()
        : FCreate(&Make<TItemInfo>) {}

    template <class T> static TItemInfoClass Of() {
        static_assert(std::is_base_of_v<TItemInfo, T>, "an item info class derives from TItemInfo");
        return TItemInfoClass(&Make<T>);
    }

    std::unique_ptr<TItemInfo> Create() const { return FCreate(); }

    bool operator==(const TItemInfoClass& AOther) const { return FCreate == AOther.FCreate; }
    bool operator!=(const TItemInfoClass& AOther) const { return !(*this == AOther); }

private:
    using TCreator = std::unique_ptr<TItemInfo> (*)();

    explicit TItemInfoClass(TCreator ACreate)
        : FCreate(ACreate) {}

    template <class T> static std::unique_ptr<TItemInfo> Make() { return std::make_unique<T>(); }

    TCreator FCreate;
};
