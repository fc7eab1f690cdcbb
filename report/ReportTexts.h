#pragma once

// The page line every printed table carries (PageLine) is the tables'.
#include "report/tables/ReportCodes.h"

// Fixed texts of the report window's output commands.

// Caption of the plug-in's message boxes.
inline constexpr const char MessageCaption[] = "Taldrow 7.1-提示信息";
inline constexpr const char ExportDoneText[] = "数据导出成功。";
inline constexpr const char ChooseFolderTitle[] = "请选择保存路径";
// Workbooks are Office Open XML: the filter offers ".xlsx" files.
inline constexpr const char SaveFilter[] = "文件类型 (*.xlsx)";
// The tool tip of 连续打印: what it does to 打印 and to 导出excel.
inline constexpr const char ContinuousToolTip[] =
    "勾选后，“打印”依次打印资金性质列表中的每一张表（只询问一次打印机和份数）；"
    "“导出excel”则把这些表各导出为一个工作簿，全部放到您选择的一个文件夹中。";
