#pragma once

#include "platform/ui/TFormTypes.h"

#include <QString>

class QDialog;
class QFileDialog;
class QPrinter;
class QWidget;
class TForm;

// Windows-style message box flags: an OK button with the information or
// the error icon.
constexpr int MbIconError = 16;
constexpr int MbIconInformation = 64;

// What a print dialog is shown for: one table of PageCount pages, or a
// continuous print of TableCount tables (PageCount 0: not counted yet, and
// no page range to choose).
struct TPrintRequest {
    int PageCount = 0;
    int TableCount = 1;
    bool Continuous() const { return TableCount > 1 || PageCount == 0; }
};

// Every dialog and message box of the report window goes through one of
// these, so tests can answer them without a user.
class TReportDialogs {
public:
    virtual ~TReportDialogs() = default;

    // Runs a modal dialog (the print preview) and returns its result.
    virtual int RunDialog(QDialog& ADialog) = 0;
    // Runs the save dialog; on entry AFileName is the proposed name, on
    // confirmation the chosen file. False when the user cancels.
    virtual bool RunSaveDialog(QFileDialog& ADialog, QString& AFileName) = 0;
    // Lets the user choose a folder, starting in AFolder when it is not
    // empty; on confirmation AFolder is the chosen one.
    virtual bool ChooseFolder(QWidget* AParent, const QString& ATitle, QString& AFolder) = 0;
    // The print dialog: printer, pages and copies, set up on APrinter. False
    // when the user cancels; then nothing is to be printed.
    virtual bool RunPrintDialog(QWidget* AParent, QPrinter& APrinter,
                                const TPrintRequest& ARequest) = 0;
    // Shows a modal form and returns its modal result.
    virtual TModalResult ShowModalForm(TForm& AForm) = 0;
    virtual void MessageBox(QWidget* AParent, const QString& AText, const QString& ACaption,
                            int AFlags) = 0;
    // Asks a question with 是 and 否; true only for 是. 否 is the default
    // button, and closing the box answers 否.
    virtual bool Confirm(QWidget* AParent, const QString& AText, const QString& ACaption) = 0;
};
