#include "CellFixture.h"

#include "support/PdfStructure.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

QString TemplateFolder() {
    return QDir(BinaryDir()).filePath(QStringLiteral("templates"));
}

QString SummaryTemplate() {
    return QDir(TemplateFolder()).filePath(QStringLiteral("支付范围划分汇总表cll5.cll"));
}

QString DetailTemplate() {
    return QDir(TemplateFolder()).filePath(QStringLiteral("支付范围划分明细表_非国有资本cll5.cll"));
}

QString StateCapitalTemplate() {
    return QDir(TemplateFolder()).filePath(QStringLiteral("支付范围划分明细表_国有资本cll5.cll"));
}

void FillDetailRows(TCell5& AGrid, int ARows) {
    static const QStringList Units{QStringLiteral("市教育局"), QStringLiteral("市第一中学"),
                                   QStringLiteral("市卫生健康委员会机关服务中心")};
    static const QStringList Subjects{QStringLiteral("行政运行"),
                                      QStringLiteral("一般行政管理事务"),
                                      QStringLiteral("其他普通教育支出（含寄宿制学校补助）")};
    for (int Index = 0; Index < ARows; ++Index) {
        AGrid.SetRowCount(AGrid.GetRowCount(0) + 1, 0);
        const int Row = AGrid.GetRowCount(0) - 1;
        AGrid.PutText(1, Row, 0, QString::number(Index + 1));
        AGrid.PutText(2, Row, 0, QStringLiteral("001%1").arg(Index % 97, 3, 10, QLatin1Char('0')));
        AGrid.PutText(3, Row, 0, Units[Index % Units.size()]);
        AGrid.PutText(4, Row, 0, QStringLiteral("205"));
        AGrid.PutText(5, Row, 0, QStringLiteral("01"));
        AGrid.PutText(6, Row, 0, QStringLiteral("01"));
        AGrid.PutText(7, Row, 0, Subjects[Index % Subjects.size()]);
        AGrid.PutText(8, Row, 0, QStringLiteral("ZB%1").arg(Index, 6, 10, QLatin1Char('0')));
        AGrid.PutText(9, Row, 0, Subjects[(Index + 1) % Subjects.size()]);
        for (int Col = 10; Col <= 14; ++Col) {
            AGrid.PutAlign(Col, Row, 0, 34);
            AGrid.PutText(Col, Row, 0, TCell::FormatNumber((Index * 37 + Col * 11) % 100000 / 7.0));
        }
        AGrid.PutRowHeight(1, AGrid.FitRowHeight(Row), Row, 0);
    }
}

QString RunTool(const QString& AProgram, const QStringList& AArguments) {
    QProcess Process;
    Process.start(AProgram, AArguments);
    if (!Process.waitForFinished(60000) || Process.exitCode() != 0)
        return {};
    return QString::fromUtf8(Process.readAllStandardOutput());
}

namespace {

// Fails the running test when the PDF's structure is not sound. A file is
// checked once for each content (tests read a long PDF page by page), and a
// fault is reported once for each test that reads it.
void ExpectSoundPdf(const QString& AFileName) {
    static std::map<QByteArray, QString> Faults; // by the content's digest
    static std::set<std::string> Reported;       // the digest and the test
    QFile File(AFileName);
    if (!File.open(QIODevice::ReadOnly))
        return; // the reader itself fails on a missing file
    QCryptographicHash Digest(QCryptographicHash::Sha256);
    Digest.addData(&File);
    const QByteArray Key = Digest.result();
    if (!Faults.count(Key))
        Faults[Key] = PdfStructureFault(AFileName);
    const auto* Test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string Report = Key.toStdString() + (Test ? Test->test_suite_name() : "") + '.' +
                               (Test ? Test->name() : "");
    if (!Faults[Key].isEmpty() && Reported.insert(Report).second)
        ADD_FAILURE() << "unsound PDF " << AFileName.toStdString() << ": "
                      << Faults[Key].toStdString();
}

} // namespace

QString PdfText(const QString& AFileName, int APage) {
    ExpectSoundPdf(AFileName);
    QStringList Arguments{QStringLiteral("-raw"), AFileName, QStringLiteral("-")};
    if (APage > 0)
        Arguments =
            QStringList{"-f", QString::number(APage), "-l", QString::number(APage)} + Arguments;
    return RunTool(QStringLiteral("pdftotext"), Arguments);
}

int PdfPageCount(const QString& AFileName) {
    ExpectSoundPdf(AFileName);
    static const QRegularExpression Pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto Match = Pages.match(RunTool(QStringLiteral("pdfinfo"), {AFileName}));
    return Match.hasMatch() ? Match.captured(1).toInt() : -1;
}

QString PdfProperty(const QString& AFileName, const QString& AName) {
    ExpectSoundPdf(AFileName);
    const QRegularExpression Line(QStringLiteral("^%1:\\s+(.*)$").arg(AName),
                                  QRegularExpression::MultilineOption);
    return Line.match(RunTool(QStringLiteral("pdfinfo"), {AFileName})).captured(1).trimmed();
}

bool PdfTableIsExact(const QString& AFileName) {
    const QByteArray Pdf = ReadBytes(AFileName);
    const std::vector<qsizetype> Offsets = PdfObjectOffsets(Pdf);
    qsizetype Placed = 0;
    for (size_t Number = 1; Number < Offsets.size(); ++Number) {
        const QByteArray Head = QByteArray::number(qsizetype(Number)) + " 0 obj";
        if (Offsets[Number] >= 0 && Pdf.mid(Offsets[Number], Head.size()) != Head)
            return false;
        Placed += Offsets[Number] >= 0 ? 1 : 0;
    }
    return Placed > 0;
}

QString ZipMember(const QString& AArchive, const QString& AMember) {
    return RunTool(QStringLiteral("unzip"), {QStringLiteral("-p"), AArchive, AMember});
}
