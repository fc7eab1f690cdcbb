#include "TThreadConnection.h"

namespace {
thread_local TAdoConn* ThreadConnection = nullptr;
} // namespace

TThreadConnection::TThreadConnection(TAdoConn* AConnection)
    : FSaved(ThreadConnection) {
    ThreadConnection = AConnection;
}

TThreadConnection::~TThreadConnection() {
    ThreadConnection = FSaved;
}

TAdoConn* TThreadConnection::Current() {
    return ThreadConnection;
}
