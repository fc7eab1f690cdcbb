#include "Exception.h"

Exception::Exception(QString AMessage)
    : FMessage(std::move(AMessage))
    , FUtf8(FMessage.toUtf8()) {}

Exception::~Exception() = default;
