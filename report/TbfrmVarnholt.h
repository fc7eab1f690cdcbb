#pragma once

#include "forms/TfrmBsTrvTC.h"

// The payment-scope report window: 支付范围划分建议表打印.
class TbfrmVarnholt : public TfrmBsTrvTC {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TbfrmVarnholt(TComponent* AOwner = nullptr);
    ~TbfrmVarnholt() override;

protected:
    // The report window keeps its designed place: it is not centred on show.
    void FormShow() override;
};
