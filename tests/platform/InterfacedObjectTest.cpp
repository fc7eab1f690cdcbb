#include "platform/TInterfacedObject.h"

#include <QStringList>
#include <gtest/gtest.h>

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
} // namespace

// Query-interface answers the own and the root identifier with a reference
// each, refuses others; the policy runs when the count reaches zero, not
// before, also for a count that starts at the creator's own reference.
TEST(InterfacedObject, AnswersItsOwnAndTheRootInterfaceAndAppliesItsPolicyAtZero) {
    QStringList Log;
    auto* Owned = new Counted<TDeleteOnLastRelease>(Log);
    void* Intf = nullptr;
    EXPECT_EQ(Owned->QueryInterface(ICounted::Iid(), &Intf), S_OK);
    EXPECT_EQ(Intf, static_cast<ICounted*>(Owned));
    EXPECT_EQ(Owned->QueryInterface(IInterface::Iid(), &Intf), S_OK) << "the root interface";
    EXPECT_EQ(Intf, static_cast<ICounted*>(Owned));
    EXPECT_EQ(Owned->QueryInterface(QUuid::createUuid(), &Intf), E_NOINTERFACE);
    EXPECT_EQ(Intf, nullptr);
    EXPECT_EQ(Owned->RefCount(), 2);
    Owned->_Release();
    EXPECT_TRUE(Log.isEmpty());
    Owned->_Release();
    EXPECT_EQ(Log, QStringList{"deleted"});

    Log.clear();
    Counted<TNotifyOnLastRelease> Held(Log, 1);
    Held._AddRef();
    Held._Release();
    EXPECT_TRUE(Log.isEmpty());
    Held._Release();
    EXPECT_EQ(Log, QStringList{"last released"});
}
