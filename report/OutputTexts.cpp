#include "OutputTexts.h"

#include "ReportTexts.h"
#include "TExportSet.h"
#include "TReportDialogs.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Native(const QString& APath) {
    return QDir::toNativeSeparators(APath);
}

// One file name a line, indented under the line that introduces them.
QString NameLines(const QStringList& APaths) {
    QString Lines;
    for (const QString& Path : APaths)
        Lines += QStringLiteral("\n    ") + QFileInfo(Path).fileName();
    return Lines;
}

// The files of the same kind the export leaves alone: said before the
// export as what will happen, after it as what did.
QString OthersNote(const TExportSet& ASet, bool ADone) {
    const QStringList Others = ASet.Others();
    if (Others.isEmpty())
        return QString();
    const QString Line =
        ADone ? QStringLiteral("文件夹中另有 %1 个同类文件不是这次导出的，未作改动：")
              : QStringLiteral("文件夹中另有 %1 个同类文件不是这次要导出的，"
                               "导出不会改动它们：");
    return QStringLiteral("\n\n") + Line.arg(Others.size()) + NameLines(Others);
}

bool AllFilesInOneFolder(const QStringList& AOutputs) {
    const QString Folder = QFileInfo(AOutputs.constFirst()).absolutePath();
    for (const QString& Output : AOutputs) {
        if (!QFileInfo(Output).isAbsolute() || QFileInfo(Output).absolutePath() != Folder)
            return false;
    }
    return true;
}

} // namespace

QString ReplaceQuestion(const TExportSet& ASet) {
    const QStringList Existing = ASet.Existing();
    return QStringLiteral("文件夹 %1 中已有这次要导出的 %2 个文件：")
               .arg(Native(ASet.Folder()))
               .arg(Existing.size()) +
           NameLines(Existing) +
           QStringLiteral("\n\n文件名中没有单位名称，这些文件可能是别的单位或别的选择导出的。"
                          "\n替换这些文件吗？选“否”则不导出任何文件。") +
           OthersNote(ASet, false);
}

QString ContinuousExportDone(const TExportSet& ASet) {
    return QString::fromUtf8(ExportDoneText) +
           QStringLiteral("\n文件夹：%1\n已导出 %2 个文件：")
               .arg(Native(ASet.Folder()))
               .arg(ASet.Paths().size()) +
           NameLines(ASet.Paths()) + OthersNote(ASet, true);
}

QString SingleExportDone(const QString& AFileName) {
    const QFileInfo File(AFileName);
    return QString::fromUtf8(ExportDoneText) +
           QStringLiteral("\n文件夹：%1\n文件：%2")
               .arg(Native(File.absolutePath()), File.fileName());
}

QString PrintedLine(const QStringList& AOutputs) {
    if (AOutputs.isEmpty())
        return QString();
    if (AOutputs.size() == 1)
        return QStringLiteral("已打印：") + Native(AOutputs.constFirst());
    const QString Head = QStringLiteral("已打印 %1 张表").arg(AOutputs.size());
    if (!AllFilesInOneFolder(AOutputs)) {
        QStringList Targets = AOutputs;
        Targets.removeDuplicates();
        return Head + QStringLiteral("：") + Targets.join(QStringLiteral("、"));
    }
    QStringList Names;
    for (const QString& Output : AOutputs)
        Names << QFileInfo(Output).fileName();
    return Head +
           QStringLiteral("，文件夹 %1：")
               .arg(Native(QFileInfo(AOutputs.constFirst()).absolutePath())) +
           Names.join(QStringLiteral("、"));
}

QString ExportedLine(const QStringList& AFiles) {
    if (AFiles.isEmpty())
        return QString();
    if (AFiles.size() == 1)
        return QStringLiteral("已导出：") + Native(AFiles.constFirst());
    return QStringLiteral("已导出 %1 个文件到：").arg(AFiles.size()) +
           Native(QFileInfo(AFiles.constFirst()).absolutePath());
}

QString PrintDialogTitle(const TPrintRequest& ARequest) {
    if (ARequest.Continuous())
        return QStringLiteral("连续打印：共 %1 张表，每张表打印全部页").arg(ARequest.TableCount);
    return QStringLiteral("打印：本表共 %1 页").arg(ARequest.PageCount);
}

QString ContinuousPrintDone(const QList<TPrintedTable>& ATables, bool AToPrinter, int ACopies) {
    int Pages = 0;
    for (const TPrintedTable& Table : ATables)
        Pages += Table.Pages;
    QString Text = QStringLiteral("连续打印完成：共 %1 张表，%2 页").arg(ATables.size()).arg(Pages);
    QString Lines;
    if (AToPrinter) {
        QStringList Printers;
        for (const TPrintedTable& Table : ATables) {
            Printers << Table.Output;
            Lines += QStringLiteral("\n    %1（%2 页）").arg(Table.Table).arg(Table.Pages);
        }
        Printers.removeDuplicates();
        Text += QStringLiteral("，已送到打印机 %1").arg(Printers.join(QStringLiteral("、")));
        if (ACopies > 1)
            Text += QStringLiteral("，每张表 %1 份").arg(ACopies);
        return Text + QStringLiteral("：") + Lines;
    }
    QStringList Folders;
    for (const TPrintedTable& Table : ATables) {
        const QFileInfo File(Table.Output);
        Folders << Native(File.absolutePath());
        Lines += QStringLiteral("\n    %1（%2，%3 页）")
                     .arg(File.fileName(), Table.Table)
                     .arg(Table.Pages);
    }
    Folders.removeDuplicates();
    return Text +
           QStringLiteral("，已打印为 %1 个 PDF 文件，文件夹：%2")
               .arg(ATables.size())
               .arg(Folders.join(QStringLiteral("、"))) +
           Lines;
}

QString ContinuousExportFolderTitle(int ATables) {
    return QString::fromUtf8(ChooseFolderTitle) +
           QStringLiteral("（已勾选“连续打印”：全部 %1 张表各导出为一个工作簿，放到所选文件夹）")
               .arg(ATables);
}

QString UnitListUnreadable(const QString& AError) {
    return AError + QStringLiteral("。单位列表没能读出，只能看登录单位的报表");
}

QString FundListUnreadable(const QString& AError) {
    return AError + QStringLiteral("。资金性质列表没能读出，不能打印或导出");
}
