#include "DemoCatalog.h"

#include <QHash>

const std::vector<TDemoDepartment>& DemoDepartments() {
    static const std::vector<TDemoDepartment> List = {
        {"省教育厅", TDeptKind::Education},
        {"省人大常委会办公厅", TDeptKind::General},
        {"省人民政府办公厅", TDeptKind::General},
        {"省发展和改革委员会", TDeptKind::General},
        {"省卫生健康委员会", TDeptKind::Health},
        {"省国有资产监督管理委员会", TDeptKind::StateAssets},
        {"省住房和城乡建设厅", TDeptKind::Construction},
        {"省交通运输厅", TDeptKind::Transport},
        {"省民政厅", TDeptKind::Welfare},
        {"省农业农村厅", TDeptKind::Agriculture},
        {"省公安厅", TDeptKind::Security},
        {"省科学技术厅", TDeptKind::General},
        {"省财政厅", TDeptKind::General},
        {"省人力资源和社会保障厅", TDeptKind::Welfare},
        {"省体育局", TDeptKind::Welfare},
        {"省水利厅", TDeptKind::Agriculture},
        {"省自然资源厅", TDeptKind::Construction},
        {"省生态环境厅", TDeptKind::General},
        {"省司法厅", TDeptKind::Security},
        {"省文化和旅游厅", TDeptKind::Education},
        {"省审计厅", TDeptKind::General},
        {"省商务厅", TDeptKind::General},
        {"省林业局", TDeptKind::Agriculture},
        {"省应急管理厅", TDeptKind::Security},
        {"省市场监督管理局", TDeptKind::General},
        {"省统计局", TDeptKind::General},
        {"省医疗保障局", TDeptKind::Health},
        {"省广播电视局", TDeptKind::Education},
        {"省机关事务管理局", TDeptKind::General},
        {"省地方金融监督管理局", TDeptKind::StateAssets},
    };
    return List;
}

const std::vector<TDemoFundNature>& DemoFundNatures() {
    static const std::vector<TDemoFundNature> List = {
        {"11", "公共财政预算资金"},
        {"12", "基金预算资金"},
        {"21", "财政专户管理资金"},
        {"31", "国有资本经营预算资金"},
    };
    return List;
}

const std::vector<TDemoSubject>& DemoSubjects() {
    static const std::vector<TDemoSubject> List = {
        {"2010101", "行政运行"},
        {"2010102", "一般行政管理事务"},
        {"2010301", "行政运行"},
        {"2010302", "一般行政管理事务"},
        {"2010350", "事业运行"},
        {"2010401", "行政运行"},
        {"2010601", "行政运行"},
        {"2010801", "行政运行"},
        {"2011301", "行政运行"},
        {"2040201", "行政运行"},
        {"2040220", "执法办案"},
        {"2040601", "行政运行"},
        {"2050101", "行政运行"},
        {"2050201", "学前教育"},
        {"2050204", "高中教育"},
        {"2050205", "高等教育"},
        {"2050302", "中等职业教育"},
        {"2060101", "行政运行"},
        {"2060203", "自然科学基金"},
        {"2060302", "社会公益研究"},
        {"2070101", "行政运行"},
        {"2070109", "群众文化"},
        {"2070307", "体育场馆"},
        {"2080101", "行政运行"},
        {"2080201", "行政运行"},
        {"2080505", "机关事业单位基本养老保险缴费支出"},
        {"2080506", "机关事业单位职业年金缴费支出"},
        {"2100101", "行政运行"},
        {"2100201", "综合医院"},
        {"2100401", "疾病预防控制机构"},
        {"2101101", "行政单位医疗"},
        {"2101102", "事业单位医疗"},
        {"2110101", "行政运行"},
        {"2120101", "行政运行"},
        {"2120801", "征地和拆迁补偿支出"},
        {"2120803", "城市建设支出"},
        {"2130101", "行政运行"},
        {"2130108", "病虫害控制"},
        {"2130301", "行政运行"},
        {"2130305", "水利工程建设"},
        {"2140101", "行政运行"},
        {"2140104", "公路建设"},
        {"2140106", "公路养护"},
        {"2210201", "住房公积金"},
        {"2210203", "购房补贴"},
        {"2230105", "国有企业退休人员社会化管理补助支出"},
        {"2230201", "国有经济结构调整支出"},
        {"2230203", "战略性产业发展支出"},
        {"2239901", "其他国有资本经营预算支出"},
        {"2296002", "用于社会福利的彩票公益金支出"},
        {"2296003", "用于体育事业的彩票公益金支出"},
    };
    return List;
}

QStringList DemoSubjectsFor(TDeptKind AKind, const QString& AMid) {
    if (AMid == QLatin1String("31"))
        return {"2230105", "2230201", "2230203", "2239901"};
    if (AMid == QLatin1String("21")) {
        switch (AKind) {
        case TDeptKind::Education:
            return {"2050204", "2050205", "2050302"};
        case TDeptKind::Health:
            return {"2100201", "2100401"};
        default:
            return {"2010350", "2060302"};
        }
    }
    if (AMid == QLatin1String("12")) {
        switch (AKind) {
        case TDeptKind::Construction:
        case TDeptKind::Transport:
            return {"2120801", "2120803"};
        case TDeptKind::Welfare:
            return {"2296002", "2296003"};
        default:
            return {"2296002"};
        }
    }
    // Every unit pays pensions, medical insurance and housing funds from the
    // general budget, beside the subjects of its own work.
    QStringList Common = {"2080505", "2080506", "2101101", "2210201"};
    switch (AKind) {
    case TDeptKind::Education:
        return Common << "2050101"
                      << "2050201"
                      << "2050204"
                      << "2050205"
                      << "2070109";
    case TDeptKind::Health:
        return Common << "2100101"
                      << "2100201"
                      << "2100401"
                      << "2101102";
    case TDeptKind::Construction:
        return Common << "2120101"
                      << "2120803";
    case TDeptKind::Welfare:
        return Common << "2080101"
                      << "2080201"
                      << "2070307";
    case TDeptKind::StateAssets:
        return Common << "2010301"
                      << "2011301";
    case TDeptKind::Transport:
        return Common << "2140101"
                      << "2140104"
                      << "2140106";
    case TDeptKind::Agriculture:
        return Common << "2130101"
                      << "2130108"
                      << "2130301"
                      << "2130305";
    case TDeptKind::Security:
        return Common << "2040201"
                      << "2040220"
                      << "2040601";
    case TDeptKind::General:
        break;
    }
    return Common << "2010101"
                  << "2010102"
                  << "2010301"
                  << "2010302"
                  << "2010401"
                  << "2010601"
                  << "2010801"
                  << "2060101"
                  << "2060203"
                  << "2110101";
}

const QStringList& DemoUnitSuffixes(TDeptKind AKind) {
    static const QHash<int, QStringList> Lists = {
        {int(TDeptKind::General),
         {"机关服务中心", "信息中心", "培训中心", "研究室", "档案馆", "综合执法总队", "宣传中心",
          "后勤服务中心"}},
        {int(TDeptKind::Education),
         {"省立大学", "师范学院", "职业技术学院", "实验中学", "教育考试院", "电化教育馆",
          "幼儿师范学校", "中等专业学校"}},
        {int(TDeptKind::Health),
         {"省人民医院", "中医院", "疾病预防控制中心", "妇幼保健院", "血液中心", "卫生监督所",
          "肿瘤医院", "职业病防治院"}},
        {int(TDeptKind::Construction),
         {"城乡规划设计研究院", "建设工程质量监督总站", "住房资金管理中心", "测绘院",
          "土地整理中心", "不动产登记中心"}},
        {int(TDeptKind::Welfare),
         {"社会福利院", "救助管理站", "彩票管理中心", "体育训练中心", "就业服务中心",
          "社会保险事业局", "老年公寓"}},
        {int(TDeptKind::StateAssets),
         {"国有资本运营公司", "企业监事会工作中心", "产权交易中心", "投资集团", "建设集团"}},
        {int(TDeptKind::Transport),
         {"公路管理局", "港航管理局", "运输管理局", "交通工程质量监督站", "高速公路管理中心"}},
        {int(TDeptKind::Agriculture),
         {"农业技术推广总站", "动物疫病预防控制中心", "水文局", "林业调查规划院", "水利工程管理局",
          "种子管理站"}},
        {int(TDeptKind::Security),
         {"警官学院", "监狱管理局", "戒毒管理局", "消防救援总队", "法律援助中心", "公证处"}},
    };
    return Lists.find(int(AKind)).value();
}

const QStringList& DemoCities() {
    static const QStringList List = {"南州市", "北山市", "东川市", "西江市", "云台市",
                                     "青阳市", "临河市", "安平市", "白石市", "长宁市"};
    return List;
}

const QStringList& DemoIndicatorLabels(const QString& AIpid) {
    static const QHash<QString, QStringList> Lists = {
        {"11", {"人员经费", "公用经费", "离退休人员经费", "社会保障缴费"}},
        {"12",
         {"信息化建设项目", "设备购置项目", "专项业务经费", "维修改造项目", "课题研究项目",
          "能力建设项目", "专项补助资金"}},
        {"17", {"国有企业资本金注入", "重点产业投资"}},
        {"18", {"国有企业政策性补贴", "改革成本补助"}},
        {"19", {"其他国有资本经营支出"}},
    };
    static const QStringList None;
    const auto Found = Lists.find(AIpid);
    return Found == Lists.end() ? None : Found.value();
}
