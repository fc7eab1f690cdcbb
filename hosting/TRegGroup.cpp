#include "TRegGroup.h"

#include "platform/Exception.h"

TRegGroup::TRegGroup(TClass AGroupClass) {
    FGroupClasses.append(AGroupClass);
}

TClass TRegGroup::BestClass(TClass AClass) const {
    TClass Result = nullptr;
    for (TClass Candidate : FGroupClasses) {
        if (InheritsFrom(AClass, Candidate) && (!Result || InheritsFrom(Candidate, Result)))
            Result = Candidate;
    }
    return Result;
}

namespace {
// Class names are ASCII identifiers; only ASCII letters fold.
bool SameClassName(const QString& A, const QString& B) {
    return A.size() == B.size() && A.compare(B, Qt::CaseInsensitive) == 0;
}
} // namespace

TClass TRegGroup::GetClass(const QString& AClassName) const {
    for (TClass Candidate : FClassList) {
        if (SameClassName(ClassNameOf(Candidate), AClassName))
            return Candidate;
    }
    for (const auto& [Alias, Class] : FAliasList) {
        if (SameClassName(Alias, AClassName))
            return Class;
    }
    return nullptr;
}

void TRegGroup::AddClass(TClass AClass) {
    if (GetClass(ClassNameOf(AClass)))
        throw EFilerError(QStringLiteral("类%1已存在").arg(ClassNameOf(AClass)));
    FClassList.append(AClass);
}

bool TRegGroup::Registered(TClass AClass) const {
    return FClassList.contains(AClass);
}
