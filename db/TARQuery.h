#pragma once

#include "IARQuery.h"
#include "platform/TInterfacedObject.h"
#include "platform/data/TADOQuery.h"

#include <atomic>

// A query that lives as long as someone holds an IARQuery reference to it.
// The count starts at 0 and changes only atomically, so references may be
// dropped on any thread. Once destruction has begun, a count that reaches 0
// does not free the object a second time.
class TARQuery : public TADOQuery,
                 public TInterfacedObject<TARQuery, IARQuery, TNotifyOnLastRelease> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TARQuery(TComponent* AOwner = nullptr);
    ~TARQuery() override;

    TARQuery* GetQuery() override { return this; }

    bool IsQueryDestroying() const { return FDestroying.load(); }

    void BeforeDestruction() override;
    // The last reference gone: frees the query unless it is going already.
    void LastReleased();

private:
    std::atomic<bool> FDestroying{false};
};
