#include "hostcontext/PlugInHostSdk.h"

#include <gtest/gtest.h>

// Lines are "number=value"; only a line whose name part is the number
// matches, the first one wins, and its value is everything after the first
// "=".
TEST(SysParams, GetSysParamReadsTheFirstLineNamedByTheNumber) {
    struct Case {
        QStringList Params;
        const char* Value;
    };
    const Case Cases[] = {
        {{"11=/tpl/"}, "/tpl/"},
        {{"11", "11=/tpl/"}, "/tpl/"},
        {{"111=/x/", "1=/y/", "011=/z/", " 11=/w/", "11=/tpl/"}, "/tpl/"},
        {{"11=/a=b/", "11=/later/"}, "/a=b/"},
        {{"11=", "11=/later/"}, ""},
        {{"13=a.ini", "14=Software\\\\Varnholt"}, ""},
        {{}, ""},
    };
    for (const Case& C : Cases) {
        TSysParams Params;
        Params.Params = C.Params;
        EXPECT_EQ(Params.GetSysParam(11), QString::fromLatin1(C.Value))
            << C.Params.join('|').toStdString();
    }
}
