#include "platform/TInterfacedObject.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace {
class ICounted : public IInterface {
public:
    static QUuid Iid() { return QUuid(QStringLiteral("{5B0F4C1E-8E2A-4D3B-9C61-0A7E2F1B9D44}")); }

protected:
    ~ICounted() = default;
};

// Logs what happens to it; the policy decides what the last release does.
template <class TLastRelease>
class Counted final : public TInterfacedObject<Counted<TLastRelease>, ICounted, TLastRelease> {
public:
    explicit Counted(QStringList& ALog, int AInitialCount = 0)
        : TInterfacedObject<Counted, ICounted, TLastRelease>(AInitialCount)
        , FLog(ALog) {}
    ~Counted() { FLog.append(QStringLiteral("deleted")); }
    void LastReleased() { FLog.append(QStringLiteral("last released")); }

private:
    QStringList& FLog;
};

// Takes two references through query-interface (own and root identifier),
// is refused a third, and drops one.
template <class TLastRelease> void TakeTwoDropOne(Counted<TLastRelease>* AObject) {
    void* Intf = nullptr;
    EXPECT_EQ(AObject->QueryInterface(ICounted::Iid(), &Intf), S_OK);
    EXPECT_EQ(Intf, static_cast<ICounted*>(AObject));
    EXPECT_EQ(AObject->QueryInterface(IInterface::Iid(), &Intf), S_OK) << "the root interface";
    EXPECT_EQ(Intf, static_cast<ICounted*>(AObject));
    EXPECT_EQ(AObject->QueryInterface(QUuid::createUuid(), &Intf), E_NOINTERFACE);
    EXPECT_EQ(Intf, nullptr);
    EXPECT_EQ(AObject->RefCount(), 2);
    AObject->_Release();
}
} // namespace

TEST(InterfacedObject, AnswersItsOwnAndTheRootInterfaceAndAppliesItsPolicyAtZero) {
    QStringList Log;
    auto Keep = std::make_unique<Counted<TKeepOnLastRelease>>(Log);
    TakeTwoDropOne(Keep.get());
    Keep->_Release();
    EXPECT_TRUE(Log.isEmpty());

    auto* Notify = new Counted<TNotifyOnLastRelease>(Log);
    TakeTwoDropOne(Notify);
    EXPECT_TRUE(Log.isEmpty());
    Notify->_Release();
    EXPECT_EQ(Log, QStringList{"last released"});
    delete Notify;

    Log.clear();
    auto* Owned = new Counted<TDeleteOnLastRelease>(Log);
    TakeTwoDropOne(Owned);
    EXPECT_TRUE(Log.isEmpty());
    Owned->_Release();
    EXPECT_EQ(Log, QStringList{"deleted"});

    // A count that starts at one: the creator's own reference.
    Log.clear();
    Counted<TNotifyOnLastRelease> Held(Log, 1);
    Held._AddRef();
    Held._Release();
    EXPECT_TRUE(Log.isEmpty());
    Held._Release();
    EXPECT_EQ(Log, QStringList{"last released"});
}
