// Preview, printing, workbook export and the export settings, through the
// report window's commands, with the results read back from the files.
#include "WindowFixture.h"
#include "cell/view/TCell5.h"
#include "cell/view/TCellPreviewDialog.h"
#include "report/ExportSettings.h"
#include "report/SystemErrorText.h"
#include "report/TRadioGroup.h"
#include "report/TfrmPrintExpSet.h"
#include "report/tables/ReportFileNames.h"
#include "support/CellFixture.h"
#include "support/WorkbookCells.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

namespace {

const QString All = "<全部>";
const QString Caption = "Taldrow 7.1-提示信息";

// Without blanks and line breaks.
QString Squeezed(QString AText) {
    return AText.remove(QRegularExpression("\\s", QRegularExpression::UseUnicodePropertiesOption));
}

class ReportOutputTest : public WindowTest {
protected:
    void SetUp() override {
        Rows.Unit("101", "省教育厅", false);
        Rows.Unit("101001", "省教育厅本级");
        Rows.Unit("101002", "省实验/学校\\一部");
        Rows.Unit("101003", "省电化教育馆");
        Rows.Adj({"101001", "11", "2010101", "11", "10", 50000});
        Rows.Adj({"101001", "21", "2080101", "12", "20", 30000});
        Rows.Adj({"101002", "12", "2120801", "11", "10", 40000});
        Rows.Adj({"101002", "11", "2050101", "12", "20", 12345.6});
        for (const char* Fund : {"11", "21"})
            Rows.Adj({"101001", Fund, "2010102", "11", "10", 70000, "2"});
        Open();
        Select("");
    }
    QString Title(const QString& AFund) const {
        return "省教育厅2024年国库集中支付改革" + AFund +
               (AFund.isEmpty() ? "范围划分汇总建议表" : "范围划分明细建议表");
    }
};

TEST_F(ReportOutputTest, ContinuousPrintingPrintsEveryEntryInOrder) {
    ASSERT_EQ(Entries(Window->cobMid),
              (QStringList{All, "公共财政预算资金", "政府性基金", "财政专户管理资金"}));
    Window->cllBudget->SetPrintFile(Dir.File("print.pdf"));
    QStringList Printed;
    QObject::connect(Window->cllBudget, &TCell5::Printed, [&](const QString& AOutput) {
        Printed << Dir.File(QStringLiteral("printed-%1.pdf").arg(Printed.size()));
        QFile::copy(AOutput, Printed.last());
    });
    Window->cbNum->setChecked(true);
    Window->tbnPrint->click();

    const QStringList Titles{Title(""), Title("公共财政预算资金"), Title("政府性基金"),
                             Title("财政专户管理资金")};
    ASSERT_EQ(Printed.size(), Titles.size());
    for (int I = 0; I < Titles.size(); ++I) {
        const QString Text = Squeezed(PdfText(Printed[I]));
        EXPECT_TRUE(Text.contains(Titles[I])) << I << Text.left(200).toStdString();
        EXPECT_TRUE(Text.contains("共1页第1页")) << I;
        // The file names its table, the choices it was drawn for and its maker.
        EXPECT_EQ(PdfProperty(Printed[I], "Title"), Titles[I]);
        const QString Subject = PdfProperty(Printed[I], "Subject");
        EXPECT_TRUE(Subject.startsWith("2024年；指标类型：" + Window->cobBType->currentText()))
            << Subject.toStdString();
        EXPECT_TRUE(Subject.endsWith("；单位：省教育厅；资金性质：" + Window->cobMid->itemText(I)))
            << Subject.toStdString();
        EXPECT_TRUE(PdfProperty(Printed[I], "Creator").startsWith("Varnholt "));
    }
    EXPECT_EQ(Window->cobMid->currentIndex(), 3);
    EXPECT_EQ(Window->cllBudget->CellText(1, 1), Titles.last());
    EXPECT_TRUE(Window->StatusLine()->text().endsWith("print.pdf"))
        << Window->StatusLine()->text().toStdString();
    ASSERT_EQ(Dialogs->Messages.size(), 1) << "what went where";
    Dialogs->Messages.clear();

    // An empty list prints nothing and asks nothing.
    const int Asked = Dialogs->PrintAsks.size();
    Select("101003");
    ASSERT_EQ(Window->cobMid->count(), 0);
    Window->tbnPrintClick();
    EXPECT_EQ(Printed.size(), Titles.size());
    EXPECT_TRUE(Dialogs->Messages.isEmpty());
    EXPECT_EQ(Dialogs->PrintAsks.size(), Asked);

    // A print that cannot be made says so and ends a continuous print.
    Select("");
    Window->cllBudget->SetPrintFile(Dir.Path());
    Window->tbnPrintClick();
    EXPECT_EQ(Window->cobMid->currentIndex(), 0);
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    EXPECT_EQ(Dialogs->Messages[0].Flags, 16);
}

TEST_F(ReportOutputTest, PreviewShowsPagesOfTheTableAsDrawnAndNeverRefills) {
    Window->cbNum->setChecked(true);
    Window->cllBudget->PutText(3, 9, 0, "改过的单元格");
    int Pages = 0;
    Dialogs->OnDialog = [&Pages](QDialog& ADialog) {
        if (auto* Preview = qobject_cast<TCellPreviewDialog*>(&ADialog))
            Pages = Preview->Pages().Count();
        return int(QDialog::Rejected);
    };
    Window->N5->trigger();
    EXPECT_EQ(Pages, 1);
    EXPECT_EQ(Window->cllBudget->CellText(3, 9), "改过的单元格");
    EXPECT_EQ(Window->cobMid->currentIndex(), 1);
    EXPECT_TRUE(Dialogs->PrintAsks.isEmpty()) << "closing the preview prints nothing";
}

// 打印 asks first, once, with the table's page count: cancelled it prints
// nothing; confirmed it prints what the dialog chose.
TEST_F(ReportOutputTest, PrintAsksFirstWithTheTablesPageCount) {
    Window->Free();
    Open("101001", MakeDemoDb(Dir, TDemoOptions{60, 20000}));
    Select("");
    const QString Pdf = Dir.File("table.pdf");
    Window->cllBudget->SetPrintFile(Pdf);
    int Printed = 0;
    QObject::connect(Window->cllBudget, &TCell5::Printed, [&] { ++Printed; });
    bool AskedFirst = false;
    Dialogs->OnPrint = [&](QPrinter&) {
        AskedFirst = Printed == 0 && !QFile::exists(Pdf);
    };

    Dialogs->CancelPrint = true;
    Window->tbnPrint->click();
    ASSERT_EQ(Dialogs->PrintAsks.size(), 1);
    EXPECT_TRUE(AskedFirst);
    EXPECT_EQ(Printed, 0);
    EXPECT_FALSE(QFile::exists(Pdf));
    EXPECT_TRUE(Window->StatusLine()->text().contains("取消"));

    Dialogs->CancelPrint = false;
    Window->tbnPrint->click();
    ASSERT_EQ(Dialogs->PrintAsks.size(), 2);
    EXPECT_TRUE(AskedFirst);
    EXPECT_EQ(Printed, 1);
    const int Pages = PdfPageCount(Pdf);
    ASSERT_GE(Pages, 2);
    EXPECT_EQ(Dialogs->PrintAsks[1].Request.PageCount, Pages);
    EXPECT_EQ(Dialogs->PrintAsks[1].Request.TableCount, 1);
    EXPECT_FALSE(Dialogs->PrintAsks[1].Request.Continuous());

    // The last page alone, as chosen in the dialog.
    Dialogs->OnPrint = [Pages](QPrinter& APrinter) {
        APrinter.setPrintRange(QPrinter::PageRange);
        APrinter.setFromTo(Pages, Pages);
    };
    Window->tbnPrint->click();
    ASSERT_EQ(PdfPageCount(Pdf), 1);
    EXPECT_TRUE(Squeezed(PdfText(Pdf)).contains(QStringLiteral("共%1页第%1页").arg(Pages)));
}

// A continuous print asks once, before the first table, and puts each
// table into a PDF of its own in the folder chosen; the message says how
// many tables and pages went where. Cancelled it prints nothing.
TEST_F(ReportOutputTest, ContinuousPrintAsksOnceAndSaysWhereEverythingWent) {
    const QString Folder = Dir.File("out");
    QDir().mkpath(Folder);
    Dialogs->OnPrint = [&](QPrinter& APrinter) {
        APrinter.setOutputFileName(QDir(Folder).filePath("chosen.pdf"));
    };
    Window->cbNum->setChecked(true);
    Dialogs->CancelPrint = true;
    Window->tbnPrint->click();
    EXPECT_EQ(Window->cobMid->currentIndex(), 1);
    EXPECT_TRUE(QDir(Folder).isEmpty());
    EXPECT_TRUE(Dialogs->Messages.isEmpty());

    Dialogs->CancelPrint = false;
    Window->tbnPrint->click();
    ASSERT_EQ(Dialogs->PrintAsks.size(), 2);
    EXPECT_EQ(Dialogs->PrintAsks[1].Request.TableCount, 4);
    EXPECT_TRUE(Dialogs->PrintAsks[1].Request.Continuous());
    const QStringList Files = QDir(Folder).entryList({"*.pdf"}, QDir::Files, QDir::Name);
    ASSERT_EQ(Files.size(), 4);
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    const QString Done = Dialogs->Messages[0].Text;
    EXPECT_EQ(Dialogs->Messages[0].Flags, 64);
    EXPECT_TRUE(Done.startsWith("连续打印完成：共 4 张表，4 页，已打印为 4 个 PDF 文件，文件夹：" +
                                QDir::toNativeSeparators(Folder)))
        << Done.toStdString();
    for (const QString& File : Files)
        EXPECT_TRUE(Done.contains(File + "（")) << File.toStdString();
    for (const QString& Fund : Entries(Window->cobMid))
        EXPECT_TRUE(Done.contains("（" + Fund + "，1 页）")) << Fund.toStdString();
}

// A table of several pages, printed with Ctrl+P: the page line and the
// heading rows on each.
TEST_F(ReportOutputTest, EveryPrintedPageCarriesItsSelectionThePageLineAndTheHeading) {
    Window->Free();
    Open("101001", MakeDemoDb(Dir, TDemoOptions{60, 20000}));
    Select("");
    const QString Pdf = Dir.File("table.pdf");
    Window->cllBudget->SetPrintFile(Pdf);
    QApplication::setActiveWindow(Window->Widget());
    Window->trvList->setFocus();
    QTest::keyClick(Window->trvList, Qt::Key_P, Qt::ControlModifier);
    const int Pages = PdfPageCount(Pdf);
    ASSERT_GE(Pages, 2);
    // A page apart from the others still names its unit, year, type and
    // sub-type, at the left of the page line.
    const QString Selection = Squeezed(Window->CurrentFilter().UnitName + "2024年" +
                                       Window->cobBType->currentText() + "（当年预算）");
    for (int Page = 1; Page <= Pages; ++Page) {
        const QString Text = Squeezed(PdfText(Pdf, Page));
        EXPECT_TRUE(Text.contains(Selection + QStringLiteral("共%1页").arg(Pages)))
            << Page << " " << Text.right(60).toStdString();
        EXPECT_TRUE(Text.contains(QStringLiteral("共%1页第%2页").arg(Pages).arg(Page))) << Page;
        EXPECT_TRUE(Text.contains(Squeezed(Window->DetailTitle()))) << Page;
        EXPECT_TRUE(Text.contains("功能分类科目")) << Page;
    }
}

// One workbook per entry, named without the unit, holding the export
// grid's cells: numbers as numbers, the template's own column header.
// The grid and the list keep the table shown before.
TEST_F(ReportOutputTest, ContinuousExportWritesOneWorkbookPerEntry) {
    Choose(Window->cobBType, "临时指标");
    const QString Shown = Window->cllBudget->CellText(1, 1);
    ASSERT_EQ(Window->cllBudget->CellText(10, 4), "临时指标");
    const QString Folder = Dir.File("out");
    QDir().mkpath(Folder);
    Dialogs->Folder = Folder;
    Window->cbNum->setChecked(true);
    Window->tbtnExcel->click();

    // The first question says what 连续打印 makes of the export, as the
    // box's tool tip does.
    EXPECT_TRUE(Dialogs->FolderTitle.startsWith("请选择保存路径"))
        << Dialogs->FolderTitle.toStdString();
    EXPECT_TRUE(Dialogs->FolderTitle.contains("全部 3 张表各导出为一个工作簿"));
    for (const char* Word : {"打印", "导出excel", "每一张表", "一个文件夹"})
        EXPECT_TRUE(Window->cbNum->toolTip().contains(Word)) << Word;
    QStringList Expected;
    for (const char* Fund : {"汇总", "公共财政预算资金", "财政专户管理资金"})
        Expected << QStringLiteral("2024年国库集中支付改革临时指标%1范围划分建议表.xlsx").arg(Fund);
    QStringList Sorted = Expected;
    Sorted.sort();
    EXPECT_EQ(QDir(Folder).entryList(QDir::Files, QDir::Name), Sorted);
    const auto Workbook = [&](int AIndex) {
        return ReadWorkbookCells(QDir(Folder).filePath(Expected[AIndex]));
    };
    EXPECT_EQ(Workbook(0).value({6, 4}).toString(), "预算数");
    EXPECT_EQ(Workbook(1).value({10, 4}).toString(), "预算数");
    // Printed from a spreadsheet, each page names the selection (a type
    // without sub-type) at the left of the page line.
    for (const QString& Name : Expected)
        EXPECT_TRUE(ZipMember(QDir(Folder).filePath(Name), "xl/worksheets/sheet1.xml")
                        .contains("<oddFooter>&amp;L" + Window->CurrentFilter().UnitName +
                                  "　2024年临时指标&amp;C共&amp;N页第&amp;P页</oddFooter>"))
            << Name.toStdString();

    // The last workbook holds what the export grid holds, numbers as numbers.
    const TWorkbookCells Cells = Workbook(2);
    const TWorkbookCells Grid = GridCells(Window->cllExpExcel->Document());
    EXPECT_EQ(FirstDifference(Cells, Grid).toStdString(), "");
    EXPECT_TRUE(std::any_of(Grid.begin(), Grid.end(),
                            [](const QVariant& A) { return A.typeId() == QMetaType::Double; }));
    EXPECT_EQ(Cells.value({1, 1}).toString(), Title("财政专户管理资金"));

    // The list is back on the entry whose table the grid shows.
    EXPECT_EQ(Window->cobMid->currentIndex(), 1);
    EXPECT_EQ(Window->cllBudget->CellText(1, 1), Shown);
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    EXPECT_TRUE(Dialogs->Messages[0].Text.startsWith("数据导出成功。"));
    EXPECT_EQ(Dialogs->Messages[0].Caption, Caption);
    EXPECT_EQ(Dialogs->Messages[0].Flags, 64);
}

TEST_F(ReportOutputTest, SingleExportProposesItsNameAndAsksBeforeOverwriting) {
    Choose(Window->cobMid, All);
    Window->EXCEL1->trigger();
    EXPECT_EQ(Dialogs->Proposed, "省教育厅2024年国库集中支付改革预算数汇总范围划分建议表.xlsx");
    EXPECT_EQ(Dialogs->SaveFilter, "文件类型 (*.xlsx)");
    EXPECT_TRUE(Dialogs->ConfirmsOverwrite);
    EXPECT_TRUE(Dialogs->Messages.isEmpty()) << "a cancelled dialog says nothing";

    Dialogs->SaveAs = Dir.File("汇总.xlsx");
    Window->EXCEL1->trigger();
    EXPECT_EQ(ReadWorkbookCells(Dialogs->SaveAs).value({1, 1}).toString(), Title(""));
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    EXPECT_EQ(Dialogs->Messages[0].Flags, 64);

    // Separators in a unit's name stay out of the proposed file name.
    Select("101002");
    Choose(Window->cobMid, "政府性基金");
    Dialogs->SaveAs.clear();
    Window->EXCEL1->trigger();
    EXPECT_EQ(Dialogs->Proposed,
              "省实验_学校_一部2024年国库集中支付改革预算数政府性基金范围划分建议表.xlsx");
}

// A directory where a workbook should go: the reason and the table are
// shown, never the success message; a continuous export stops there.
TEST_F(ReportOutputTest, AFailingExportSaysWhichTableFailedAndStops) {
    Dialogs->SaveAs = Dir.File("taken.xlsx");
    QDir().mkpath(Dialogs->SaveAs);
    Window->EXCEL1->trigger();
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    EXPECT_EQ(Dialogs->Messages[0].Flags, 16);
    EXPECT_EQ(Dialogs->Messages[0].Caption, Caption);
    EXPECT_TRUE(Dialogs->Messages[0].Text.contains("taken.xlsx"));
    EXPECT_TRUE(QFileInfo(Dialogs->SaveAs).isDir());

    Dialogs->Folder = Dir.File("out");
    const QString Second =
        ContinuousExportPath(Dialogs->Folder, 2024, "预算数", "公共财政预算资金");
    QDir().mkpath(Second);
    Window->cbNum->setChecked(true);
    Window->EXCEL1->trigger();
    ASSERT_EQ(Dialogs->Messages.size(), 2);
    const QString Text = Dialogs->Messages[1].Text;
    EXPECT_EQ(Dialogs->Messages[1].Flags, 16);
    EXPECT_TRUE(Text.contains(QFileInfo(Second).fileName())) << Text.toStdString();
    EXPECT_TRUE(Text.contains("此前已导出 1 个文件")) << Text.toStdString();
    EXPECT_EQ(QDir(Dialogs->Folder).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(Window->cobMid->currentIndex(), 1);
}

// A folder that is there but takes no new files (/proc): the reason says
// what failed, not that the folder is missing.
TEST_F(ReportOutputTest, AnExportIntoAFolderThatTakesNoFilesSaysSo) {
    Dialogs->SaveAs = "/proc/汇总.xlsx";
    Window->EXCEL1->trigger();
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    const QString Text = Dialogs->Messages[0].Text;
    EXPECT_TRUE(Text.contains("原因：这个文件夹不能新建文件（是系统的特殊文件夹）（无法在 /proc "
                              "创建文件：No such file or directory）"))
        << Text.toStdString();
    EXPECT_FALSE(Text.contains("不存在")) << Text.toStdString();
}

// A system's reason in English gets its cause in Chinese before it, once:
// a cause said before the reason in brackets moves to the front.
TEST(SystemErrorText, TheCauseIsSaidOnceBeforeTheSystemsWords) {
    const std::pair<const char*, const char*> Cases[] = {
        {"无法在 /x 创建文件：No space left on device",
         "磁盘空间已满（无法在 /x 创建文件：No space left on device）"},
        {"写入 a 失败：磁盘已满（No space left on device）",
         "磁盘已满（写入 a 失败：No space left on device）"},
        {"无法在 /proc 创建文件：这个文件夹不能新建文件（是系统的特殊文件夹）（No such file or "
         "directory）",
         "这个文件夹不能新建文件（是系统的特殊文件夹）（无法在 /proc 创建文件：No such file or "
         "directory）"},
        {"磁盘已满（No space left on device）", "磁盘已满（No space left on device）"},
        {"something else", "something else"},
    };
    for (const auto& [Text, Expected] : Cases)
        EXPECT_EQ(ExplainSystemError(QString::fromUtf8(Text)).toStdString(), Expected);
}

// The settings dialog on the host's INI file: the first showing stores
// "expType" "0"; Escape keeps the store as it was; OK stores both choices;
// a value that is not a number chooses the first entry.
TEST_F(ReportOutputTest, ExportSettingsDialogReadsAndStoresItsChoices) {
    const QString Ini = Dir.File("settings.ini");
    Scope->Params.Params << "13=" + Ini;
    struct TSeen {
        int Index = -1;
        bool Ticked = false;
    } Seen;
    bool PressOk = false;
    Dialogs->OnForm = [&](TForm& AForm) {
        auto& Dialog = static_cast<TfrmPrintExpSet&>(AForm);
        QTimer::singleShot(0, [&] {
            Seen = {Dialog.rgExpSet->ItemIndex(), Dialog.chkbShowDlg->isChecked()};
            Dialog.rgExpSet->SetItemIndex(1);
            Dialog.chkbShowDlg->setChecked(false);
            if (PressOk) {
                Dialog.btnOK->click();
                return;
            }
            QApplication::setActiveWindow(Dialog.Widget());
            Dialog.btnOK->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        return AForm.ShowModal();
    };
    const auto Stored = [](const char* AKey) {
        return ReadSetting("bwnCorrandel", AKey, 1);
    };

    Window->mitemExpSetClick();
    EXPECT_EQ(Seen.Index, 0);
    EXPECT_TRUE(Seen.Ticked);
    EXPECT_EQ(Stored("expType"), "0");
    EXPECT_EQ(Stored("ShowSaveExpSet"), "");

    PressOk = true;
    Window->mitemExpSetClick();
    EXPECT_EQ(Stored("expType"), "1");
    EXPECT_EQ(Stored("ShowSaveExpSet"), "0");

    WriteSetting("bwnCorrandel", "expType", "abc", 1);
    PressOk = false;
    Window->mitemExpSetClick();
    EXPECT_EQ(Seen.Index, 0);
    EXPECT_FALSE(Seen.Ticked);
    EXPECT_EQ(Stored("expType"), "abc");
    EXPECT_FALSE(Window->mitemExpSet->isVisible());
}

} // namespace
