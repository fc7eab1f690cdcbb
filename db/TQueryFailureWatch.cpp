#include "TQueryFailureWatch.h"

namespace {
// The innermost watch of each thread; worker threads have none of their own.
thread_local TQueryFailureWatch* Innermost = nullptr;
} // namespace

TQueryFailureWatch::TQueryFailureWatch()
    : FOuter(Innermost) {
    Innermost = this;
}

TQueryFailureWatch::~TQueryFailureWatch() {
    Innermost = FOuter;
}

void TQueryFailureWatch::Add(const QString& ASql, const QString& AError) {
    if (FCount++ == 0) {
        FFirstError = AError;
        FFirstSql = ASql;
    }
    if (FOuter)
        FOuter->Add(ASql, AError);
}

void TQueryFailureWatch::Record(const QString& ASql, const QString& AError) {
    if (Innermost)
        Innermost->Add(ASql, AError);
}
