#pragma once

#include <QString>
#include <QStringList>

class TExportSet;

// The texts that tell the clerk where the report window's output went and
// what an export would replace.

// The question before a continuous export replaces files: how many, which,
// and the files of the same kind it leaves alone.
QString ReplaceQuestion(const TExportSet& ASet);
// The success message of a continuous export: the folder, the files
// written, and the files of the same kind it left alone.
QString ContinuousExportDone(const TExportSet& ASet);
// The success message of a single export.
QString SingleExportDone(const QString& AFileName);
// The bottom strip's line after prints: AOutputs names each print's PDF file
// or printer, in order.
QString PrintedLine(const QStringList& AOutputs);
// The bottom strip's line after an export that wrote AFiles.
QString ExportedLine(const QStringList& AFiles);
// The bottom strip's line when the unit list or the fund-nature list could
// not be read: the cause (a data-layer text, cause first) and then what the
// clerk is left without.
QString UnitListUnreadable(const QString& AError);
QString FundListUnreadable(const QString& AError);
