#pragma once

#include "platform/IInterface.h"
#include "platform/TInterfacePtr.h"

class TARQuery;

// The counted reference through which callers hold an open query. The last
// reference dropped frees the query. Slot after the counting methods:
// GetQuery.
class IARQuery : public IInterface {
public:
    static QUuid Iid() { return QUuid(QStringLiteral("{DEA3183F-28EB-4F96-AF59-650794C3F468}")); }

    virtual TARQuery* GetQuery() = 0;

protected:
    ~IARQuery() = default;
};

using IARQueryPtr = TInterfacePtr<IARQuery>;
