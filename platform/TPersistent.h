#pragma once

#include "PlatformExport.h"
#include "TClass.h"

#include <QObject>

// Root of every class that can be registered by name.
class PLATFORM_EXPORT TPersistent : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TPersistent(QObject* AParent = nullptr);
    ~TPersistent() override;

    QString ClassName() const { return QString::fromLatin1(metaObject()->className()); }
    TClass ClassType() const { return metaObject(); }
};
