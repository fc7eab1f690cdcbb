#include "TbfrmVarnholt.h"

TbfrmVarnholt::TbfrmVarnholt(TComponent* AOwner)
    : TfrmBsTrvTC(AOwner) {
    SetName(QStringLiteral("bfrmVarnholt"));
    SetCaption(QStringLiteral("支付范围划分建议表打印"));
    // Designed at the frame's top left: the inherited designer position would
    // put most of an 829-pixel window outside a usual MDI area.
    SetBounds(0, 0, 829, 613);
}

TbfrmVarnholt::~TbfrmVarnholt() = default;

void TbfrmVarnholt::FormShow() {}
