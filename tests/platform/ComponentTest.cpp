#include "platform/TComponent.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {
// Records every removal it hears of, with the class name the dying object
// reported at that moment.
class Listener : public TComponent {
public:
    using TComponent::TComponent;
    void Notification(TComponent* AComponent, TOperation AOperation) override {
        TComponent::Notification(AComponent, AOperation);
        if (AOperation == TOperation::opRemove)
            Heard.append(AComponent->ClassName() + QLatin1Char(':') + AComponent->Name());
    }
    QStringList Heard;
};
} // namespace

class Widgetish : public TComponent {
    Q_OBJECT
public:
    using TComponent::TComponent;
};

TEST(Component, FreeNotificationSeesTheDyingObjectWhole) {
    Listener Watcher;
    auto* Dying = new Widgetish(nullptr);
    Dying->SetName(QStringLiteral("w1"));
    Dying->FreeNotification(&Watcher);
    Dying->Free();
    EXPECT_EQ(Watcher.Heard, QStringList{QStringLiteral("Widgetish:w1")});
}

TEST(Component, OwnerFreesWhatItOwnsAndHearsOfEachRemoval) {
    auto* Owner = new Listener(nullptr);
    auto* A = new Widgetish(Owner);
    A->SetName(QStringLiteral("a"));
    auto* B = new Widgetish(Owner);
    B->SetName(QStringLiteral("b"));
    ASSERT_EQ(Owner->ComponentCount(), 2);

    B->Free();
    EXPECT_EQ(Owner->ComponentCount(), 1);
    EXPECT_EQ(Owner->Heard, QStringList{QStringLiteral("Widgetish:b")});

    Listener Outside;
    A->FreeNotification(&Outside);
    Owner->Free();
    EXPECT_EQ(Outside.Heard, QStringList{QStringLiteral("Widgetish:a")});
}

TEST(Component, NotificationIsMutualAndEndsWithEitherSide) {
    Listener Left;
    {
        Listener Right;
        Left.FreeNotification(&Right);
        Right.SetName(QStringLiteral("right"));
    }
    // Right told Left when it went; Left's later destruction must not reach
    // the dead Right.
    EXPECT_EQ(Left.Heard.size(), 1);
}

TEST(Component, RemovedFreeNotificationIsNotDelivered) {
    Listener Watcher;
    auto* Dying = new Widgetish(nullptr);
    Dying->FreeNotification(&Watcher);
    Dying->RemoveFreeNotification(&Watcher);
    Dying->Free();
    EXPECT_TRUE(Watcher.Heard.isEmpty());
}

TEST(Component, DestroyingStateIsSetBeforeReceiversAreTold) {
    struct Checker : TComponent {
        using TComponent::TComponent;
        void Notification(TComponent* AComponent, TOperation AOperation) override {
            TComponent::Notification(AComponent, AOperation);
            if (AOperation == TOperation::opRemove)
                SawDestroying = AComponent->IsDestroying();
        }
        bool SawDestroying = false;
    };
    Checker Watcher;
    auto* Dying = new Widgetish(nullptr);
    Dying->FreeNotification(&Watcher);
    Dying->Free();
    EXPECT_TRUE(Watcher.SawDestroying);
}

#include "ComponentTest.moc"
