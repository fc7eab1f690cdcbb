#include "TestDialog.h"

#include <QLayout>
#include <QLineEdit>

TestDialog::TestDialog(TComponent* AOwner)
    : TfrmBsDialog(AOwner)
    , First(new QLineEdit(Widget()))
    , Second(new QLineEdit(Widget())) {
    First->setObjectName(QStringLiteral("First"));
    Second->setObjectName(QStringLiteral("Second"));
    Widget()->layout()->addWidget(First);
    Widget()->layout()->addWidget(Second);
}
