#pragma once

#include "PlatformExport.h"

#include <QByteArray>
#include <QString>
#include <exception>

// Base of every error the framework and the plug-in raise. It carries a
// message only; ClassName names the most derived class for error reports.
class PLATFORM_EXPORT Exception : public std::exception {
public:
    explicit Exception(QString AMessage);
    ~Exception() override;

    const QString& Message() const { return FMessage; }
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// Declares an exception class that carries only a message.
#define VARNHOLT_DECLARE_EXCEPTION(EXPORT, NAME, BASE)                                             \
    class EXPORT NAME : public BASE {                                                              \
    public:                                                                                        \
        using BASE::BASE;                                                                          \
        QString ClassName() const override { return QStringLiteral(#NAME); }                       \
    };

VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, EAbort, Exception)
VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, EFilerError, Exception)
VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, EDatabaseError, Exception)
VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, EInOutError, Exception)
VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, EConvertError, Exception)
VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, EStringListError, Exception)
VARNHOLT_DECLARE_EXCEPTION(PLATFORM_EXPORT, EInvalidOperation, Exception)
