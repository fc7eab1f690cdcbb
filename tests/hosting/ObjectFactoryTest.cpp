#include "HostedWindows.h"
#include "hosting/HostingExceptions.h"
#include "hosting/TObjectFactory.h"
#include "platform/ui/TWinControl.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {
class CountedInterface : public IInterface {
public:
    HResult QueryInterface(const QUuid&, void**) override { return E_NOINTERFACE; }
    int _AddRef() override { return ++Count; }
    int _Release() override { return --Count; }
    int Count = 0;
};

QString FactoryError(TComponent* AOwner, TClass AClass) {
    try {
        TObjectFactory::CreateInstance(AOwner, AClass);
    } catch (const TObjectFactionError& E) {
        return E.Message();
    }
    return QString();
}
} // namespace

TEST(ObjectFactory, RefusesClassesThatAreNotComponents) {
    EXPECT_EQ(FactoryError(nullptr, &TPersistent::staticMetaObject),
              QStringLiteral("只能创建从TComponent继承过来的类的实例！"));
    EXPECT_EQ(FactoryError(nullptr, &FailingComponent::staticMetaObject),
              QStringLiteral("创建对象失败！"));
}

TEST(ObjectFactory, FormsKeepTheirDesignedPlaceAndControlsGoIntoTheirOwner) {
    TComponent* Made = TObjectFactory::CreateInstance(nullptr, &HostedWindow::staticMetaObject);
    auto* Window = qobject_cast<HostedWindow*>(Made);
    ASSERT_NE(Window, nullptr);
    EXPECT_EQ(Window->Position(), TPosition::poDesigned);
    EXPECT_EQ(Window->Creates, 1) << "the creation handler did not run once";
    Window->Free();

    TWinControl Holder;
    auto* Control = qobject_cast<TControl*>(
        TObjectFactory::CreateInstance(&Holder, &TWinControl::staticMetaObject));
    ASSERT_NE(Control, nullptr);
    EXPECT_EQ(Control->Parent(), &Holder);
    EXPECT_EQ(Control->Widget()->parentWidget(), Holder.Widget());
    EXPECT_EQ(Control->Owner(), &Holder);
}

TEST(ObjectFactory, AnInstanceFreesWhatItOwnsAndClearsWhatItWasGiven) {
    QPointer<TComponent> Owned = new TComponent(nullptr);
    TComponent* OwnedVariable = Owned.data();
    void* PlainVariable = &OwnedVariable;
    CountedInterface Counted;
    Counted._AddRef();
    IInterface* InterfaceVariable = &Counted;

    auto* Factory = new TObjectFactory;
    Factory->_AddRef();
    Factory->RegisterOwnedObject(&OwnedVariable);
    Factory->RegisterReference(&PlainVariable, 0);
    Factory->RegisterReference(&InterfaceVariable, 1);
    Factory->_Release();

    EXPECT_TRUE(Owned.isNull());
    EXPECT_EQ(OwnedVariable, nullptr);
    EXPECT_EQ(PlainVariable, nullptr);
    EXPECT_EQ(InterfaceVariable, nullptr);
    EXPECT_EQ(Counted.Count, 0);
}
