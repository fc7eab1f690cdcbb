#include "ReportWindows.h"

#include "TbfrmVarnholt.h"
#include "hosting/ClassRegistry.h"

void RegisterReportWindows() {
    RegisterClass<TbfrmVarnholt>();
}
