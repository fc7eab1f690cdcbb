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
