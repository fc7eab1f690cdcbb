#include "host/FrameGeometry.h"
#include "host/QtTranslations.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
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

} // namespace
