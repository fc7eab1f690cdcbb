#include "host/ErrorKindText.h"
#include "host/FrameGeometry.h"
#include "host/FrameGeometryStore.h"
#include "host/QtTranslations.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// Qt's own buttons read in Chinese once the host has loaded the translation.
TEST(HostStart, QtDialogsSpeakChineseWhenTheTranslationIsInstalled) {
    const QString Qm = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm";
    if (!QFileInfo::exists(Qm))
        GTEST_SKIP() << "not installed: " << Qm.toStdString() << " (qt6-translations-l10n)";
    ASSERT_TRUE(InstallQtTranslations(*qApp));
    QMessageBox Box(QMessageBox::Information, "提示", "x", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(Box.button(QMessageBox::Ok)->text(), "确定");
    EXPECT_EQ(Box.button(QMessageBox::Cancel)->text(), "取消");
    qDeleteAll(qApp->findChildren<QTranslator*>()); // a translator leaves the application
}

// The preferred 1200 by 800 where it fits with the frame's decoration, as
// much as fits otherwise, always inside the free area.
TEST(HostStart, TheFrameFitsTheFreeAreaOfTheScreen) {
    const QMargins Decoration(8, 40, 8, 8);
    const std::pair<QRect, QSize> Cases[] = {{{0, 0, 1920, 1080}, {1200, 800}},
                                             {{0, 0, 1024, 768}, {1008, 720}},
                                             {{1920, 32, 1366, 736}, {1200, 688}}};
    for (const auto& [Available, Size] : Cases) {
        const QRect Frame = FrameGeometry({1200, 800}, Available, Decoration);
        EXPECT_EQ(Frame.size(), Size);
        EXPECT_TRUE(Available.contains(Frame.marginsAdded(Decoration)))
            << Frame.x() << "," << Frame.y();
    }
}

// The frame opens where the user left it, on a screen that is still there,
// and inside that screen's free area; maximized stays maximized.
TEST(HostStart, TheFrameOpensWhereItWasLeft) {
    const QMargins Decoration(8, 40, 8, 8);
    const QRect Laptop(0, 32, 1366, 736);
    const QRect Second(1366, 0, 1920, 1080);
    const QRect Centred = FrameGeometry({1200, 800}, Laptop, Decoration);
    struct TCase {
        const char* Name;
        std::optional<TFrameState> Kept;
        QList<QRect> Screens;
        TFrameState Opens;
    };
    const TCase Cases[] = {
        {"none kept", std::nullopt, {Laptop, Second}, {Centred, false}},
        {"as kept",
         TFrameState{{100, 120, 900, 500}, false},
         {Laptop},
         {{100, 120, 900, 500}, false}},
        {"maximized",
         TFrameState{{100, 120, 900, 500}, true},
         {Laptop},
         {{100, 120, 900, 500}, true}},
        {"on the second screen",
         TFrameState{{1500, 100, 1200, 800}, false},
         {Laptop, Second},
         {{1500, 100, 1200, 800}, false}},
        {"over the right edge",
         TFrameState{{600, 100, 900, 500}, false},
         {Laptop},
         {{458, 100, 900, 500}, false}},
        {"bigger than the screen",
         TFrameState{{0, 0, 1900, 1000}, true},
         {Laptop},
         {{8, 72, 1350, 688}, true}},
        {"on a screen that is gone",
         TFrameState{{1500, 100, 1200, 800}, true},
         {Laptop},
         {Centred, true}},
    };
    for (const TCase& Case : Cases) {
        const TFrameState Opens =
            OpeningFrameState(Case.Kept, Case.Screens, Decoration, {1200, 800});
        EXPECT_EQ(Opens.Normal, Case.Opens.Normal) << Case.Name;
        EXPECT_EQ(Opens.Maximized, Case.Opens.Maximized) << Case.Name;
    }
}

// What the store holds is read back only when it is a frame's state.
TEST(HostStart, OnlyAFramesStateIsReadBack) {
    const std::pair<const char*, std::optional<TFrameState>> Cases[] = {
        {" 10, -20, 1200, 800, maximized ", TFrameState{{10, -20, 1200, 800}, true}},
        {"10,20,0,800,normal", std::nullopt},
        {"10,20,100001,800,normal", std::nullopt},
        {"10,20,1200,800", std::nullopt},
        {"10,20,1200,800,huge", std::nullopt},
        {"x,20,1200,800,normal", std::nullopt}};
    for (const auto& [Text, State] : Cases)
        EXPECT_EQ(ParseFrameState(QString::fromUtf8(Text)), State) << Text;
}

// A frame closed maximized reopens maximized, and returns to its kept place
// when restored; one closed in a place reopens there.
TEST(HostStart, TheFramesStateSurvivesAStart) {
    const TempConfigHome Home;
    EXPECT_FALSE(ReadFrameState());
    for (const bool Maximized : {true, false}) {
        const TFrameState Left{{60, 70, 640, 420}, Maximized};
        {
            QMainWindow Frame;
            ApplyFrameState(Frame, Left);
            Frame.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame));
            EXPECT_EQ(Frame.isMaximized(), Maximized);
            WriteFrameState(CaptureFrameState(Frame));
        }
        EXPECT_EQ(ReadFrameState(), Left);
    }
}

} // namespace

namespace {

// The error box names the kind in Chinese and keeps the class after it; a
// class it does not know is named as it is, never dropped.
TEST(HostErrorBox, NamesTheKindAndKeepsTheClass) {
    EXPECT_EQ(ErrorKindText("EDatabaseError").toStdString(), "数据库错误（EDatabaseError）");
    EXPECT_EQ(ErrorKindText("ESomethingNew").toStdString(), "ESomethingNew");
}

} // namespace
