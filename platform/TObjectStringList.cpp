#include "TObjectStringList.h"

#include <QMutexLocker>

int TObjectStringList::AddObject(const QString& AName, QObject* AObject) {
    QMutexLocker Guard(&FLock);
    FLines.append({AName, AObject});
    return static_cast<int>(FLines.size()) - 1;
}

int TObjectStringList::IndexOf(const QString& AName) const {
    QMutexLocker Guard(&FLock);
    for (int I = 0; I < FLines.size(); ++I) {
        if (FLines[I].first.compare(AName, Qt::CaseInsensitive) == 0)
            return I;
    }
    return -1;
}

QObject* TObjectStringList::GetObject(int AIndex) const {
    QMutexLocker Guard(&FLock);
    return AIndex >= 0 && AIndex < FLines.size() ? FLines[AIndex].second : nullptr;
}

QString TObjectStringList::GetName(int AIndex) const {
    QMutexLocker Guard(&FLock);
    return AIndex >= 0 && AIndex < FLines.size() ? FLines[AIndex].first : QString();
}

void TObjectStringList::Delete(int AIndex) {
    QMutexLocker Guard(&FLock);
    if (AIndex >= 0 && AIndex < FLines.size())
        FLines.removeAt(AIndex);
}

int TObjectStringList::Count() const {
    QMutexLocker Guard(&FLock);
    return static_cast<int>(FLines.size());
}
