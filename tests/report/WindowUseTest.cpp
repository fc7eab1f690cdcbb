// The window as a clerk uses it, item after item on one window: exports
// that would mix units, where output went, the unit tree, the keyboard,
// the message boxes and an error of the settings dialog.
#include "WindowFixture.h"
#include "cell/view/TCell5.h"
#include "platform/ui/TApplication.h"
#include "report/TFocusMark.h"
#include "report/TQtReportDialogs.h"
#include "report/TfrmPrintExpSet.h"
#include "report/tables/ReportFileNames.h"
#include "support/WorkbookCells.h"
#include "trees/TNodeItem.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

const QString Caption = "Taldrow 7.1-提示信息";

class WindowUseTest : public WindowTest {
protected:
    void SetUp() override {
        DepartmentWithASchool();
        for (const char* Fund : {"11", "21"})
            Rows.Adj({"101001", Fund, "2010101", "11", "10", 50000});
        Rows.Adj({"101002001", "12", "2120801", "11", "10", 20000});
        Open();
        Select("");
    }
    // The workbook a continuous export wrote for a fund nature.
    QString Book(const QString& AFund) const {
        return ContinuousExportPath(Dialogs->Folder, 2024, "预算数", AFund);
    }
    QString BookTitle(const QString& AFund) const {
        return ReadWorkbookCells(Book(AFund)).value({1, 1}).toString();
    }
    // The user drags the tree's splitter handle by ADx pixels.
    void DragTreeHandle(int ADx) {
        QSplitterHandle* Handle = Window->Splitter1->handle(1);
        for (const auto& [Type, X] : {std::pair{QEvent::MouseButtonPress, 2},
                                      {QEvent::MouseMove, 2 + ADx},
                                      {QEvent::MouseButtonRelease, 2 + ADx}}) {
            QMouseEvent Event(
                Type, QPoint(X, 20), Handle->mapToGlobal(QPoint(X, 20)), Qt::LeftButton,
                Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(Handle, &Event);
        }
    }
};

// The names carry no unit: a second unit's export into the same folder asks
// before replacing, names what stays, and the grid keeps its table.
TEST_F(WindowUseTest, ContinuousExportAsksBeforeMixingUnitsAndSaysWhereItWrote) {
    Window->cllBudget->SetPrintFile(Dir.File("table.pdf"));
    Window->tbnPrint->click();
    ASSERT_TRUE(Window->StatusLine()->text().startsWith("已打印："));
    Choose(Window->cobMid, "政府性基金");
    const QString Shown = Window->cllBudget->CellText(1, 1);
    Dialogs->Folder = Dir.File("out");
    QDir().mkpath(Dialogs->Folder);
    Window->cbNum->setChecked(true);

    Window->tbtnExcel->click();
    EXPECT_TRUE(Dialogs->Questions.isEmpty()) << "nothing to replace";
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    const QString Done = Dialogs->Messages[0].Text;
    EXPECT_TRUE(Done.contains(QDir::toNativeSeparators(Dialogs->Folder))) << Done.toStdString();
    for (const QString& Fund : Entries(Window->cobMid))
        EXPECT_TRUE(Done.contains(QFileInfo(Book(Fund)).fileName())) << Fund.toStdString();
    EXPECT_EQ(Window->StatusLine()->text(), "已导出 4 个文件到：" + Dialogs->Folder);
    EXPECT_EQ(Window->cobMid->currentText(), "政府性基金");
    EXPECT_EQ(Window->cllBudget->CellText(1, 1), Shown);
    EXPECT_EQ(Window->DetailTitle(), Shown);

    // Another unit, three of the four names: the default answer writes
    // nothing.
    Select("101001");
    const QString TopTitle = BookTitle("<全部>");
    Window->tbtnExcel->click();
    ASSERT_EQ(Dialogs->Questions.size(), 1);
    const QString Question = Dialogs->Questions[0].Text;
    EXPECT_TRUE(Question.contains("3 个文件") && Question.contains("另有 1 个同类文件"))
        << Question.toStdString();
    // Before the export nothing has been left alone yet: it says what will be.
    EXPECT_TRUE(Question.contains("导出不会改动它们") && !Question.contains("未作改动"))
        << Question.toStdString();
    EXPECT_EQ(Dialogs->Messages.size(), 1);
    EXPECT_EQ(BookTitle("<全部>"), TopTitle);
    EXPECT_TRUE(Window->StatusLine()->text().contains("取消"));

    Dialogs->Replace = true;
    Window->tbtnExcel->click();
    ASSERT_EQ(Dialogs->Messages.size(), 2);
    EXPECT_TRUE(BookTitle("<全部>").startsWith("省教育厅本级"));
    EXPECT_TRUE(BookTitle("政府性基金").startsWith("省教育厅2024"));
    EXPECT_TRUE(Dialogs->Messages[1].Text.contains(QFileInfo(Book("政府性基金")).fileName()));
    EXPECT_TRUE(Dialogs->Messages[1].Text.contains("未作改动"));
}

// Without a printer both routes propose a new PDF named after the table in
// the documents folder, and after an export in its folder; the strip names
// every one; save dialogs open where the last export went; a system reason
// is said in Chinese first.
TEST_F(WindowUseTest, OutputGoesWhereTheClerkLooksAndIsNamed) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a default printer would receive the pages";
    const QString Documents = Dir.File("docs");
    WriteBytes(Home.Path() + "/user-dirs.dirs",
               "XDG_DOCUMENTS_DIR=\"" + Documents.toUtf8() + "\"\n");
    Window->cbNum->setChecked(true);
    Window->tbnPrint->click();
    const QStringList Pdfs = QDir(Documents).entryList({"*.pdf"}, QDir::Files, QDir::Name);
    ASSERT_EQ(Pdfs.size(), 4);
    for (const QString& Pdf : Pdfs)
        EXPECT_TRUE(Window->StatusLine()->text().contains(Pdf)) << Pdf.toStdString();
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    EXPECT_TRUE(
        Dialogs->Messages[0].Text.contains("文件夹：" + QDir::toNativeSeparators(Documents)));
    Dialogs->Messages.clear();

    // 打印 in the preview asks as 打印 does, for the table shown.
    Dialogs->OnDialog = [](QDialog& ADialog) {
        ADialog.findChild<QAction*>("PrintAction")->trigger();
        return ADialog.result();
    };
    Dialogs->CancelPrint = true;
    Window->tbnPrintView->click();
    ASSERT_EQ(Dialogs->PrintAsks.size(), 2);
    const auto& Asked = Dialogs->PrintAsks[1];
    EXPECT_EQ(Asked.Request.TableCount, 1);
    EXPECT_GE(Asked.Request.PageCount, 1);
    EXPECT_EQ(Asked.DocName, Window->cllBudget->CellText(1, 1));
    EXPECT_EQ(QFileInfo(Asked.OutputFile).absolutePath(), Documents);
    EXPECT_TRUE(QFileInfo(Asked.OutputFile).fileName().startsWith(Asked.DocName));
    EXPECT_EQ(QDir(Documents).entryList({"*.pdf"}, QDir::Files).size(), 4);

    Window->cbNum->setChecked(false);
    Window->EXCEL1->trigger();
    EXPECT_EQ(Dialogs->OpenedIn, Documents);
    Dialogs->SaveAs = Dir.File("missing/table.xlsx");
    Window->EXCEL1->trigger();
    ASSERT_EQ(Dialogs->Messages.size(), 1);
    EXPECT_TRUE(Dialogs->Messages[0].Text.contains("原因：文件夹不存在（无法在 "))
        << Dialogs->Messages[0].Text.toStdString();
    EXPECT_TRUE(Window->StatusLine()->text().isEmpty());
    Dialogs->SaveAs = Dir.File("table.xlsx");
    Window->EXCEL1->trigger();
    EXPECT_EQ(Window->StatusLine()->text(), "已导出：" + Dialogs->SaveAs);
    Window->EXCEL1->trigger();
    EXPECT_EQ(Dialogs->OpenedIn, Dir.Path());
    // Without a printer the PDF is proposed where the clerk exported last.
    Window->tbnPrint->click();
    EXPECT_EQ(QFileInfo(Dialogs->PrintAsks.last().OutputFile).absolutePath(), Dir.Path());
}

TEST_F(WindowUseTest, TheTreeShowsWholeNamesKeepsItsWidthAndExpandsTheChoice) {
    QTreeWidget* Tree = Window->trvList;
    for (QTreeWidgetItemIterator It(Tree); *It; ++It) {
        const TItemInfo* Info = TNodeItem::From(*It)->ItemInfo();
        const QString Expected =
            Info->Kind == TItemInfo::KindTop ? "101 省教育厅" : Info->Id + " " + Info->Caption;
        EXPECT_EQ((*It)->toolTip(0), Expected);
    }
    for (QTreeWidgetItem* Item : {Tree->currentItem(), Tree->topLevelItem(0)}) {
        const QRect Row = Tree->visualItemRect(Item);
        EXPECT_TRUE(Row.top() >= 0 && Row.bottom() < Tree->viewport()->height());
    }
    Tree->collapseAll();
    Select("101002");
    EXPECT_TRUE(Tree->currentItem()->isExpanded());

    const int Wide = Window->Splitter1->sizes()[0] + 80;
    DragTreeHandle(80);
    ASSERT_EQ(Window->Splitter1->sizes()[0], Wide);
    Window->Free();
    Open();
    EXPECT_EQ(Window->Splitter1->sizes()[0], Wide);
    DragTreeHandle(-Wide); // the pane keeps room for its lists
    EXPECT_GE(Window->pnlLeft->width(), Window->cobMid->geometry().right());
}

TEST_F(WindowUseTest, TabReachesEveryControlInReadingOrderAndShowsTheFocus) {
    QApplication::setActiveWindow(Window->Widget());
    Window->tbtnExcel->setFocus(Qt::TabFocusReason);
    QStringList Order;
    for (int Step = 0; Step < 12; ++Step) {
        QWidget* Focus = QApplication::focusWidget();
        Order << Focus->objectName();
        const bool Marked = Focus == Window->trvList || Focus == Window->cllBudget;
        EXPECT_EQ(Window->FocusMark()->Target(), Marked ? Focus : nullptr) << Step;
        if (Marked) {
            EXPECT_EQ(Window->FocusMark()->geometry().size(), Focus->size());
        }
        QTest::keyClick(Focus, Qt::Key_Tab);
    }
    EXPECT_EQ(Order.join(' '), "tbtnExcel tbnPrintView tbnPrint tbnExit cobBType cobTypeChild "
                               "cobMid trvList cbNum cllBudget tbtnExcel tbnPrintView");
}

// 确定 on a read-only INI file that already holds the type: the error reaches
// the application like any handler's, and the dialog stays open.
TEST_F(WindowUseTest, ASettingsErrorOfTheExportDialogReachesTheApplication) {
    const QString Ini = Dir.File("settings.ini");
    WriteBytes(Ini, "[bwnCorrandel]\nexpType=1\n");
    QFile::setPermissions(Ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    Scope->Params.Params << "13=" + Ini;
    QStringList Errors;
    const TExceptionEvent Saved = std::exchange(
        Application->OnException, [&](QObject*, const Exception& E) { Errors << E.Message(); });
    bool StillOpen = false;
    Dialogs->OnForm = [&](TForm& AForm) {
        auto& Dialog = static_cast<TfrmPrintExpSet&>(AForm);
        QTimer::singleShot(0, [&] {
            Dialog.btnOK->click();
            StillOpen = Dialog.Widget()->isVisible();
            Dialog.SetModalResult(mrCancel);
        });
        return AForm.ShowModal();
    };
    Window->mitemExpSet->trigger();
    Application->OnException = Saved;
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors[0].contains(Ini)) << Errors[0].toStdString();
    EXPECT_TRUE(StillOpen);
    EXPECT_EQ(ReadBytes(Ini), "[bwnCorrandel]\nexpType=1\n");
}

// The real message boxes: wide enough for the caption; a question answers
// 否 to a plain Enter.
TEST_F(WindowUseTest, MessageBoxesShowTheirCaptionWholeAndDefaultToNo) {
    TQtReportDialogs Real;
    int Width = 0, Needed = 0;
    QTimer::singleShot(0, [&] {
        auto* Box = static_cast<QMessageBox*>(QApplication::activeModalWidget());
        Width = Box->width();
        Needed = Box->fontMetrics().horizontalAdvance(Caption);
        Box->accept();
    });
    Real.MessageBox(Window->Widget(), "数据导出成功。", Caption, MbIconInformation);
    EXPECT_GE(Width, Needed + 100);

    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    EXPECT_FALSE(Real.Confirm(Window->Widget(), "替换这些文件吗？", Caption));
}

// A table that passed with a row the query drops says so: on paper its
// total is not the sum of the rows under it.
TEST_F(WindowUseTest, TheStripSaysWhatThePaperLeavesOut) {
    Rows.Adj({"101002001", "12", "2010102", "11", "10", -3000});
    Choose(Window->cobMid, "政府性基金");
    EXPECT_EQ(Window->StatusLine()->text(), "审核通过（合计含未列出的行 -0.30 万元，1 行）");
}

// A summary with an infinite amount goes neither to the printer nor into a
// PDF: the window says why instead.
TEST_F(WindowUseTest, ATableWithAnInfiniteAmountIsNotPrinted) {
    RunSql(File, {"update busibudgetadj set BudgMoney='1e400' where eid='101002001'"});
    Choose(Window->cobMid, "<全部>");
    Window->cllBudget->SetPrintFile(Dir.File("infinite.pdf"));
    Window->tbnPrint->click();
    EXPECT_FALSE(QFile::exists(Dir.File("infinite.pdf")));
    ASSERT_FALSE(Dialogs->Messages.isEmpty());
    EXPECT_TRUE(Dialogs->Messages.last().Text.startsWith("未打印“<全部>”：有金额不是有限数"))
        << Dialogs->Messages.last().Text.toStdString();
}

// The strip says how the shown table passed its audit, that a table has no
// rows and where the unit's data is instead (another type, another class
// of the login), and that its query failed, instead of a bare heading; a
// table whose query failed is not printed as if it had no data.
TEST_F(WindowUseTest, TheStripSaysWhetherTheShownTableAddsUpOrCouldNotBeRead) {
    EXPECT_EQ(Window->StatusLine()->text(), "审核通过");
    Choose(Window->cobBType, "临时指标");
    EXPECT_EQ(Window->StatusLine()->text().toStdString(),
              "无数据：数据库中该单位 2024 年的数据在指标类型“预算数（当年预算）”下（3 行），"
              "当前为指标类型“临时指标”；请在“指标类型”中选“预算数”，在“指标子类型”中选“当年预算”");
    Scope->Unit.Values[4] = 2;
    Choose(Window->cobBType, "预算数");
    EXPECT_EQ(Window->StatusLine()->text().toStdString(),
              "无数据：数据库中该单位 2024 年的预算数（当年预算）数据在单位类别 1 下（3 行），"
              "当前为单位类别 2；请以单位类别 1 登录（参考宿主的选项 --unit-class 1）");
    Scope->Unit.Values[4] = 1;
    Choose(Window->cobBType, "预算数");
    RunSql(File, {"drop view vwbudgetadj",
                  "create view vwbudgetadj as select a.datayear, a.eid, d.ename, a.deptclass, "
                  "a.mid, m.mname, a.bid, s.bname, a.iid, i.iname, a.ipid, a.pid, a.BType, "
                  "a.bkid, a.btypechild, abs(-9223372036854775807 - 1) as BudgMoney from "
                  "busibudgetadj a left join pubdept d on d.eid = a.eid left join pubmoneykind m "
                  "on m.mid = a.mid left join pubbudgetsubject s on s.bid = a.bid left join "
                  "busiindicator i on i.iid = a.iid"});
    Choose(Window->cobMid, "<全部>");
    const QString Failed = Window->StatusLine()->text();
    EXPECT_TRUE(Failed.startsWith("数据库查询失败（SQLite：") &&
                Failed.endsWith("。本表没能从数据库查出，表中只有表样，没有数据"))
        << Failed.toStdString();
    Window->cllBudget->SetPrintFile(Dir.File("template-only.pdf"));
    Window->tbnPrint->click();
    EXPECT_FALSE(QFile::exists(Dir.File("template-only.pdf")));
    ASSERT_FALSE(Dialogs->Messages.isEmpty());
    EXPECT_TRUE(Dialogs->Messages.last().Text.startsWith("未打印"))
        << Dialogs->Messages.last().Text.toStdString();
}

} // namespace
