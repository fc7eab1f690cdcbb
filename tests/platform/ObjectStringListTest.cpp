#include "platform/TObjectStringList.h"

#include <QObject>
#include <QPointer>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

TEST(ObjectStringList, FindsTheFirstLineWhateverTheLetterCase) {
    QObject A, B;
    TObjectStringList List;
    EXPECT_EQ(List.AddObject(QStringLiteral("Def"), &A), 0);
    EXPECT_EQ(List.AddObject(QStringLiteral("DEF"), &B), 1);
    EXPECT_EQ(List.IndexOf(QStringLiteral("def")), 0);
    EXPECT_EQ(List.GetObject(List.IndexOf(QStringLiteral("dEf"))), &A);
    EXPECT_EQ(List.IndexOf(QStringLiteral("De")), -1);
    EXPECT_EQ(List.GetObject(-1), nullptr);
    EXPECT_EQ(List.GetObject(5), nullptr);
    List.Delete(0);
    EXPECT_EQ(List.GetObject(List.IndexOf(QStringLiteral("def"))), &B);
}

TEST(ObjectStringList, NeverFreesWhatItNames) {
    QPointer<QObject> Named = new QObject;
    {
        TObjectStringList List;
        List.AddObject(QStringLiteral("x"), Named);
        List.Delete(0);
        List.AddObject(QStringLiteral("y"), Named);
    }
    EXPECT_FALSE(Named.isNull());
    delete Named.data();
}

TEST(ObjectStringList, SingleOperationsAreSafeFromSeveralThreads) {
    TObjectStringList List;
    constexpr int PerThread = 2000;
    std::vector<std::unique_ptr<QThread>> Threads;
    for (int T = 0; T < 4; ++T) {
        Threads.emplace_back(QThread::create([&List, T] {
            for (int I = 0; I < PerThread; ++I) {
                List.AddObject(QStringLiteral("t%1-%2").arg(T).arg(I), nullptr);
                List.IndexOf(QStringLiteral("T0-0"));
            }
        }));
        Threads.back()->start();
    }
    for (auto& Thread : Threads)
        Thread->wait();
    EXPECT_EQ(List.Count(), 4 * PerThread);
}
