#include "TPersistent.h"

TPersistent::TPersistent(QObject* AParent)
    : QObject(AParent) {}

TPersistent::~TPersistent() = default;
