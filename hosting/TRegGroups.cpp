#include "TRegGroups.h"

#include "platform/TPersistent.h"

TRegGroups::TRegGroups() {
    auto Group = std::make_unique<TRegGroup>(&TPersistent::staticMetaObject);
    Group->SetActive(true);
    FGroups.push_back(std::move(Group));
}

TRegGroup* TRegGroups::FindGroup(TClass AClass) const {
    TRegGroup* Best = nullptr;
    for (const auto& Group : FGroups) {
        const TClass Candidate = Group->BestClass(AClass);
        const TClass BestSoFar = Best ? Best->BestClass(AClass) : nullptr;
        if (Candidate && (!BestSoFar || InheritsFrom(Candidate, BestSoFar)))
            Best = Group.get();
        else if (!Candidate && !BestSoFar)
            Best = nullptr;
    }
    return Best;
}

TClass TRegGroups::GetClass(const QString& AClassName) const {
    for (const auto& Group : FGroups) {
        if (!Group->Active())
            continue;
        if (TClass Found = Group->GetClass(AClassName))
            return Found;
    }
    return nullptr;
}

void TRegGroups::RegisterClass(TClass AClass) {
    if (TRegGroup* Group = FindGroup(AClass))
        Group->AddClass(AClass);
}

bool TRegGroups::Registered(TClass AClass) const {
    for (const auto& Group : FGroups) {
        if (Group->Registered(AClass))
            return true;
    }
    return false;
}
