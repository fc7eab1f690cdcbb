#pragma once

#include "report/TReportDialogs.h"
#include "report/TbfrmVarnholt.h"
#include "support/ReportFixture.h"

#include <QComboBox>
#include <QFileDialog>
#include <QPrinter>
#include <functional>
#include <gtest/gtest.h>

// Answers the report window's dialogs as a test tells it, and records what
// the window asked.
class TRecordingDialogs : public TReportDialogs {
public:
    struct TMessage {
        QString Text, Caption;
        int Flags = 0;
    };
    // Answers: an empty folder or file name cancels; questions are answered
    // with Replace.
    QString Folder, SaveAs;
    bool Replace = false;
    std::function<int(QDialog&)> OnDialog;
    std::function<TModalResult(TForm&)> OnForm;
    // What the window asked.
    QString FolderTitle, Proposed, SaveFilter, OpenedIn;
    bool ConfirmsOverwrite = false;
    QList<TMessage> Messages, Questions;
    // The print dialogs asked for, with what the printer proposed.
    struct TPrintAsk {
        TPrintRequest Request;
        QString OutputFile, DocName;
    };
    QList<TPrintAsk> PrintAsks;
    // The print dialog's answer: cancelled, or confirmed after OnPrint has
    // set the printer up as a user would.
    bool CancelPrint = false;
    std::function<void(QPrinter&)> OnPrint;

    int RunDialog(QDialog& ADialog) override { return OnDialog ? OnDialog(ADialog) : 0; }
    bool RunSaveDialog(QFileDialog& ADialog, QString& AFileName) override {
        Proposed = AFileName;
        OpenedIn = ADialog.directory().absolutePath();
        SaveFilter = ADialog.nameFilters().join(';');
        ConfirmsOverwrite = ADialog.acceptMode() == QFileDialog::AcceptSave &&
                            !ADialog.testOption(QFileDialog::DontConfirmOverwrite);
        AFileName = SaveAs;
        return !SaveAs.isEmpty();
    }
    bool ChooseFolder(QWidget*, const QString& ATitle, QString& AFolder) override {
        FolderTitle = ATitle;
        OpenedIn = AFolder;
        AFolder = Folder;
        return !Folder.isEmpty();
    }
    bool RunPrintDialog(QWidget*, QPrinter& APrinter, const TPrintRequest& ARequest) override {
        PrintAsks.append({ARequest, APrinter.outputFileName(), APrinter.docName()});
        if (OnPrint)
            OnPrint(APrinter);
        return !CancelPrint;
    }
    TModalResult ShowModalForm(TForm& AForm) override { return OnForm ? OnForm(AForm) : mrCancel; }
    void MessageBox(QWidget*, const QString& AText, const QString& ACaption, int AFlags) override {
        Messages.append({AText, ACaption, AFlags});
    }
    bool Confirm(QWidget*, const QString& AText, const QString& ACaption) override {
        Questions.append({AText, ACaption, 0});
        return Replace;
    }
};

// The report window over a test database, logged in as a unit of it, shown
// as a host shows it; what it remembers for the user goes to a per-user
// store of the test's own.
class WindowTest : public TBudgetTest {
protected:
    TempConfigHome Home;

    void TearDown() override;

    // Shows the window for a database (the test's own when empty) and the
    // logged-in unit.
    TbfrmVarnholt& Open(const QString& ALogin = QStringLiteral("101001"),
                        const QString& ADatabase = QString());
    // The user's choice of an entry, as a click in the list makes it.
    static void Choose(QComboBox* AList, const QString& AText);
    // The user's click on the tree node of a unit ("" for the top node).
    void Select(const QString& AEid);
    QStringList Entries(const QComboBox* AList) const;
    // A department (101) with its own level (101001) and a school (101002)
    // that has a unit of its own (101002001).
    void DepartmentWithASchool() {
        Rows.Unit("101", "省教育厅", false);
        Rows.Unit("101001", "省教育厅本级");
        Rows.Unit("101002", "省实验学校", false);
        Rows.Unit("101002001", "省实验学校附属小学");
    }

    std::unique_ptr<TReportScope> Scope;
    TbfrmVarnholt* Window = nullptr;
    TRecordingDialogs* Dialogs = nullptr;
};
