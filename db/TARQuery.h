#pragma once

#include "IARQuery.h"
#include "platform/data/TADOQuery.h"

#include <atomic>

// A query that lives as long as someone holds an IARQuery reference to it.
// The count starts at 0 and changes only atomically, so references may be
// dropped on any thread. Once destruction has begun, a count that reaches 0
// does not free the object a second time.
class TARQuery : public TADOQuery, public IARQuery {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TARQuery(TComponent* AOwner = nullptr);
    ~TARQuery() override;

    HResult QueryInterface(const QUuid& AIid, void** AObj) override;
    int _AddRef() override;
    int _Release() override;
    TARQuery* GetQuery() override { return this; }

    int RefCount() const { return FRefCount.load(); }
    bool IsQueryDestroying() const { return FDestroying.load(); }

    void BeforeDestruction() override;

private:
    std::atomic<int> FRefCount{0};
    std::atomic<bool> FDestroying{false};
};
