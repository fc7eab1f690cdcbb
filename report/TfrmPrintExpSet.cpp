#include "TfrmPrintExpSet.h"

#include "ExportSettings.h"
#include "Guarded.h"
#include "TRadioGroup.h"

#include <QCheckBox>
#include <QPushButton>

namespace {
// The dialog's settings always go to the INI file.
constexpr int IniStore = 1;
const QString Section = QString::fromUtf8(ExportSettingsSection);
const QString ShowKey = QStringLiteral("ShowSaveExpSet");
const QString TypeKey = QStringLiteral("expType");
} // namespace

TfrmPrintExpSet::TfrmPrintExpSet(TComponent* AOwner)
    : TfrmBsDialog(AOwner) {
    SetName(QStringLiteral("frmPrintExpSet"));
    SetCaption(QStringLiteral("导出设置"));
    SetBounds(Left(), Top(), 306, 181);

    rgExpSet = new TRadioGroup(Widget());
    rgExpSet->setObjectName(QStringLiteral("rgExpSet"));
    rgExpSet->SetItems(
        {QStringLiteral("导出当前所选单位"), QStringLiteral("导出当前所选单位及下级单位")});
    rgExpSet->SetItemIndex(0);
    rgExpSet->setGeometry(16, 8, 265, 81);

    chkbShowDlg = new QCheckBox(QStringLiteral("总在导出前选择设置"), Widget());
    chkbShowDlg->setObjectName(QStringLiteral("chkbShowDlg"));
    chkbShowDlg->setChecked(true);
    chkbShowDlg->setGeometry(16, 107, 129, 17);

    btnOK = new QPushButton(QStringLiteral("确定"), Widget());
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(205, 104, 75, 25);
    // A store that cannot be written (a read-only file, a full disk) is
    // reported like any other handler's error; the dialog stays open.
    connect(btnOK, &QPushButton::clicked, this, Guarded(this, [this](auto&&...) { btnOKClick(); }));
}

TfrmPrintExpSet::~TfrmPrintExpSet() = default;

void TfrmPrintExpSet::FormShow() {
    TfrmBsDialog::FormShow();
    FShowSaveExpSet = ReadSetting(Section, ShowKey, IniStore);
    FExpType = ReadSetting(Section, TypeKey, IniStore);
    if (!FShowSaveExpSet.isEmpty())
        chkbShowDlg->setChecked(FShowSaveExpSet == QLatin1String("1"));
    if (FExpType.isEmpty()) {
        WriteSetting(Section, TypeKey, QStringLiteral("0"), IniStore);
        return;
    }
    // A value that is not one of the entries' numbers (edited by hand,
    // written by something else) chooses the first entry rather than
    // failing the dialog.
    bool IsNumber = false;
    const int Index = FExpType.trimmed().toInt(&IsNumber);
    rgExpSet->SetItemIndex(IsNumber && Index >= 0 && Index < rgExpSet->Count() ? Index : 0);
}

void TfrmPrintExpSet::btnOKClick() {
    if (SaveSettings())
        SetModalResult(mrOk);
}

bool TfrmPrintExpSet::SaveSettings() {
    FShowSaveExpSet = chkbShowDlg->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    FExpType = QString::number(rgExpSet->ItemIndex());
    WriteSetting(Section, ShowKey, FShowSaveExpSet, IniStore);
    WriteSetting(Section, TypeKey, FExpType, IniStore);
    return true;
}
