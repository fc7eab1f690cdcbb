#pragma once

#include "TADOConnection.h"

// The connection class of the host's registry. ProviderText is scratch
// space for the database-kind tests: each test overwrites it with the
// provider name in upper case before looking at it.
class PLATFORM_EXPORT TAdoConn : public TADOConnection {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TAdoConn(TComponent* AOwner = nullptr);
    ~TAdoConn() override;

    QString ProviderText;
};
