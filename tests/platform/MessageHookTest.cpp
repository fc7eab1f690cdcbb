#include "platform/ui/TApplication.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
// Installs a handler the way components do: keep the one found, call it
// after its own, put it back when done.
class ChainedHook {
public:
    ChainedHook(QList<QString>& ALog, QString AName)
        : FSaved(Application->OnMessage) {
        Application->OnMessage = [this, &ALog, AName](TMsg& Msg, bool& Handled) {
            ALog.append(AName + QLatin1Char(':') + QString::number(Msg.Message, 16));
            if (FSaved)
                FSaved(Msg, Handled);
        };
    }
    ~ChainedHook() { Application->OnMessage = FSaved; }

private:
    TMessageEvent FSaved;
};
} // namespace

TEST(MessageHook, ChainedHandlersSeeInputMessagesInInstallOrderReversed) {
    QWidget Target;
    Target.resize(100, 100);
    Target.show();
    QList<QString> Log;
    {
        ChainedHook First(Log, QStringLiteral("first"));
        ChainedHook Second(Log, QStringLiteral("second"));
        QTest::mousePress(&Target, Qt::LeftButton, {}, QPoint(10, 20));
        ASSERT_GE(Log.size(), 2);
        EXPECT_EQ(Log[0], QStringLiteral("second:201"));
        EXPECT_EQ(Log[1], QStringLiteral("first:201"));
    }
    EXPECT_FALSE(Application->OnMessage) << "the chain was not restored";
}

TEST(MessageHook, MousePositionAndKeysArePackedLikeWindowMessages) {
    QWidget Target;
    Target.resize(200, 200);
    Target.show();
    QList<TMsg> Seen;
    Application->OnMessage = [&Seen, &Target](TMsg& Msg, bool&) {
        if (Msg.Window == &Target)
            Seen.append(Msg);
    };
    QTest::mousePress(&Target, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::keyRelease(&Target, Qt::Key_Space);
    Application->OnMessage = nullptr;

    ASSERT_EQ(Seen.size(), 2);
    EXPECT_EQ(Seen[0].Message, WM_LBUTTONDOWN);
    EXPECT_EQ(Seen[0].LParam & 0xFFFF, 30);
    EXPECT_EQ((Seen[0].LParam >> 16) & 0xFFFF, 40);
    EXPECT_EQ(Seen[1].Message, WM_KEYUP);
    EXPECT_EQ(Seen[1].WParam, 0x20u);
}

TEST(MessageHook, AnEventTheWidgetIgnoresIsSeenOnceOnItsWayToTheParents) {
    QWidget Parent;
    auto* Child = new QWidget(&Parent);
    Child->setGeometry(10, 10, 50, 50);
    Parent.resize(100, 100);
    Parent.show();
    QList<QPair<QWidget*, unsigned>> Seen;
    Application->OnMessage = [&Seen](TMsg& Msg, bool&) {
        if (Msg.Message != WM_MOUSEMOVE)
            Seen.append({Msg.Window, Msg.Message});
    };
    QTest::mousePress(Child, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyPress(Child, Qt::Key_F5);
    Application->OnMessage = nullptr;
    EXPECT_EQ(Seen,
              (QList<QPair<QWidget*, unsigned>>{{Child, WM_LBUTTONDOWN}, {Child, WM_KEYDOWN}}));
}

TEST(MessageHook, AHandledMessageDoesNotReachItsWindow) {
    struct Counting : QWidget {
        int Presses = 0;
        void mousePressEvent(QMouseEvent*) override { ++Presses; }
    } Target;
    Target.resize(50, 50);
    Target.show();
    Application->OnMessage = [](TMsg& Msg, bool& Handled) {
        Handled = Msg.Message == WM_LBUTTONDOWN;
    };
    QTest::mousePress(&Target, Qt::LeftButton, {}, QPoint(5, 5));
    Application->OnMessage = nullptr;
    EXPECT_EQ(Target.Presses, 0);
}
