#include "TestWindows.h"

#include "platform/Exception.h"

#include <QLayout>
#include <QLineEdit>

TestChild::TestChild(TComponent* AOwner)
    : TfrmBsCld(AOwner) {}

void TestChild::FormDestroy() {
    if (OnDestroy)
        OnDestroy();
    TfrmBsCld::FormDestroy();
}

TestDialog::TestDialog(TComponent* AOwner)
    : TfrmBsDialog(AOwner)
    , First(new QLineEdit(Widget()))
    , Second(new QLineEdit(Widget())) {
    First->setObjectName(QStringLiteral("First"));
    Second->setObjectName(QStringLiteral("Second"));
    Widget()->layout()->addWidget(First);
    Widget()->layout()->addWidget(Second);
}

FailingComponent::FailingComponent(TComponent* AOwner)
    : TComponent(AOwner) {
    throw Exception(QStringLiteral("construction failed"));
}
