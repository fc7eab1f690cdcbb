#include "TfrmBase.h"

#include "platform/ui/TScreen.h"

#include <QFont>
#include <QPalette>

TfrmBase::TfrmBase(TComponent* AOwner)
    : TForm(AOwner) {
    SetName(QStringLiteral("frmBase"));
    QWidget* W = Widget();
    W->setAutoFillBackground(true);
    W->setBackgroundRole(QPalette::Button);
    // 宋体 at 12 pixels; on systems without it the CJK fonts that are there
    // stand in.
    QFont Font;
    Font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    Font.setPixelSize(12);
    W->setFont(Font);
    SetBounds(192, 0, 543, 390);
    SetPosition(TPosition::poDesktopCenter);
}

TfrmBase::~TfrmBase() = default;

void TfrmBase::SetModalFlag(std::uint8_t AValue) {
    if (FModalFlag)
        *FModalFlag = AValue;
}

void TfrmBase::FormCreate() {
    FModalFlag = std::make_unique<std::uint8_t>(1);
}

void TfrmBase::FormDestroy() {
    FModalFlag.reset();
}

void TfrmBase::FormShow() {
    CentreOnScreen(this);
}

void CentreOnScreen(TForm* AWindow) {
    if (!AWindow || !Screen)
        return;
    AWindow->SetTop((Screen->Height() - AWindow->Height()) / 2);
    AWindow->SetLeft((Screen->Width() - AWindow->Width()) / 2);
}
