// The window as a clerk uses it, item after item on one window.
#include "WindowFixture.h"
#include "platform/ui/TApplication.h"
#include "report/TQtReportDialogs.h"
#include "report/TfrmPrintExpSet.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString Caption = "Taldrow 7.1-提示信息";

class WindowUseTest : public WindowTest {
protected:
    void SetUp() override {
        Rows.Unit("101", "省教育厅", false);
        Rows.Unit("101001", "省教育厅本级");
        Rows.Unit("101002", "省实验学校", false);
        Rows.Unit("101002001", "省实验学校附属小学");
        for (const char* Fund : {"11", "21"})
            Rows.Adj({"101001", Fund, "2010101", "11", "10", 50000});
        Rows.Adj({"101002001", "12", "2120801", "11", "10", 20000});
        Open();
        Select("");
    }
};

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

} // namespace
