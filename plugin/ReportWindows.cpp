#include "ReportWindows.h"

#include "hosting/ClassRegistry.h"
#include "report/TbfrmVarnholt.h"

void RegisterReportWindows() {
    RegisterClass<TbfrmVarnholt>();
}
