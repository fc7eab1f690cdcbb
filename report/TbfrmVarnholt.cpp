#include "TbfrmVarnholt.h"

TbfrmVarnholt::TbfrmVarnholt(TComponent* AOwner)
    : TfrmBsTrvTC(AOwner)
{
    SetName(QStringLiteral("bfrmVarnholt"));
    SetCaption(QStringLiteral("支付范围划分建议表打印"));
    SetBounds(Left(), Top(), 829, 613);
}

TbfrmVarnholt::~TbfrmVarnholt() = default;

void TbfrmVarnholt::FormShow() {}
