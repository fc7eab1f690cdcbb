#include "hostcontext/HostContext.h"
#include "hostcontext/TThreadConnection.h"
#include "platform/data/TAdoConn.h"
#include "platform/data/TDbManager.h"

#include <gtest/gtest.h>
#include <thread>

// A scope gives its connection to its own thread only, nested scopes give
// the innermost one, and each restores the one before as it ends; outside
// every scope the registry's "Def" connection is the one.
TEST(ThreadConnection, EachThreadQueriesOnItsOwnScopesConnection) {
    TDbManager Manager;
    THostContext Context{};
    Context.DbManager = &Manager;
    THostContext* const Saved = HostContext;
    HostContext = &Context;
    TAdoConn* const Def = GetDefConnection();
    TAdoConn Outer, Inner;
    const auto OnAnotherThread = [] {
        TAdoConn* Seen = nullptr;
        std::thread([&Seen] { Seen = GetDefConnection(); }).join();
        return Seen;
    };
    {
        const TThreadConnection Scope(&Outer);
        EXPECT_EQ(GetDefConnection(), &Outer);
        EXPECT_EQ(OnAnotherThread(), Def);
        {
            const TThreadConnection Nested(&Inner);
            EXPECT_EQ(GetDefConnection(), &Inner);
        }
        EXPECT_EQ(GetDefConnection(), &Outer);
    }
    EXPECT_EQ(GetDefConnection(), Def);
    EXPECT_EQ(TThreadConnection::Current(), nullptr);
    HostContext = Saved;
}
