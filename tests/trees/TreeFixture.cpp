#include "TreeFixture.h"

#include "support/TempDir.h"
#include "trees/TNodeItem.h"
#include "trees/TQueryThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <gtest/gtest.h>
#include <sqlite3.h>

QString MakeSqliteFile(const TempDir& ADir, const QString& AName, const QStringList& AStatements) {
    static std::atomic<int> Count{0};
    const QString File = ADir.File(AName);
    const QString Name = QStringLiteral("trees-test-writer-%1").arg(++Count);
    {
        QSqlDatabase Db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
        Db.setDatabaseName(File);
        EXPECT_TRUE(Db.open()) << Db.lastError().text().toStdString();
        QSqlQuery Query(Db);
        for (const QString& Statement : AStatements)
            EXPECT_TRUE(Query.exec(Statement))
                << Statement.toStdString() << ": " << Query.lastError().text().toStdString();
        Db.close();
    }
    QSqlDatabase::removeDatabase(Name);
    return File;
}

std::unique_ptr<TADOConnection> OpenConnection(const QString& AFile) {
    auto Connection = std::make_unique<TADOConnection>();
    Connection->SetConnectionString(QStringLiteral("Provider=SQLite;Data Source=%1").arg(AFile));
    Connection->Open();
    return Connection;
}

namespace {
int TraceStatement(unsigned, void* AContext, void*, void* AText) {
    const char* Text = static_cast<const char*>(AText);
    // Statements run by triggers come as comments; the tree runs none.
    if (Text && std::strncmp(Text, "--", 2) != 0)
        static_cast<QStringList*>(AContext)->append(QString::fromUtf8(Text));
    return 0;
}
} // namespace

TSqlTrace::TSqlTrace(const TADOConnection& AConnection) {
    const QVariant Handle = AConnection.Database().driver()->handle();
    if (qstrcmp(Handle.typeName(), "sqlite3*") == 0)
        FHandle = *static_cast<sqlite3* const*>(Handle.constData());
    EXPECT_NE(FHandle, nullptr);
    if (FHandle)
        sqlite3_trace_v2(FHandle, SQLITE_TRACE_STMT, &TraceStatement, &Statements);
}

TSqlTrace::~TSqlTrace() {
    if (FHandle)
        sqlite3_trace_v2(FHandle, 0, nullptr, nullptr);
}

bool WaitForQueryThreads(int ATimeoutMs) {
    QElapsedTimer Timer;
    Timer.start();
    while (TQueryThread::LiveCount() > 0 && Timer.elapsed() < ATimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return TQueryThread::LiveCount() == 0;
}

QString Shape(QTreeWidgetItem* ANode) {
    const TNodeItem* Node = TNodeItem::From(ANode);
    const TItemInfo* Info = Node ? Node->ItemInfo() : nullptr;
    if (!Info)
        return QStringLiteral("?");
    QString Text = Info->Kind == TItemInfo::KindPlaceholder ? QStringLiteral("【】") : Info->Id;
    if (ANode->childCount() == 0)
        return Text;
    QStringList Children;
    for (int I = 0; I < ANode->childCount(); ++I)
        Children << Shape(ANode->child(I));
    return Text + QLatin1Char('{') + Children.join(QLatin1Char(',')) + QLatin1Char('}');
}
