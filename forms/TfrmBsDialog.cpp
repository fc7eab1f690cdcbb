#include "TfrmBsDialog.h"

#include "platform/ui/VirtualKeys.h"

TfrmBsDialog::TfrmBsDialog(TComponent* AOwner)
    : TfrmBase(AOwner) {
    SetName(QStringLiteral("frmBsDialog"));
    SetCaption(QStringLiteral("frmBsDialog"));
    SetBorderIcons(false, false);
    SetKeyPreview(true);
}

TfrmBsDialog::~TfrmBsDialog() = default;

void TfrmBsDialog::FormCreate() {
    TfrmBase::FormCreate();
    FEnterAsTab = true;
}

void TfrmBsDialog::FormKeyPress(QChar& Key) {
    if (Key == QChar(VK_RETURN) && FEnterAsTab) {
        // A line feed rather than nothing, which handlers chained after this
        // one expect; the key is taken either way.
        Key = QChar(10);
        SelectNext(true);
    }
}

void TfrmBsDialog::FormKeyDown(int& Key, Qt::KeyboardModifiers) {
    if (Key == VK_ESCAPE)
        SetModalResult(mrCancel);
}
