#include "platform/ui/TMainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {
QStringList VisibleCaptions(const QMenuBar& ABar) {
    QStringList Captions;
    for (QAction* Item : ABar.actions()) {
        if (Item->isVisible())
            Captions.append(Item->text());
    }
    return Captions;
}

QMenu* AddFrameItem(QMenuBar& ABar, const QString& ACaption, int AGroup) {
    QMenu* Menu = ABar.addMenu(ACaption);
    TMainMenu::SetGroupIndex(Menu->menuAction(), AGroup);
    return Menu;
}
} // namespace

TEST(MenuMerge, ChildItemsGoInGroupOrderAndReplaceTheirGroup) {
    QMenuBar Frame;
    AddFrameItem(Frame, QStringLiteral("File"), 0);
    AddFrameItem(Frame, QStringLiteral("Edit"), 1);
    AddFrameItem(Frame, QStringLiteral("Window"), 9);
    TMainMenu Child;
    Child.AddItem(QStringLiteral("a"), QStringLiteral("Options"), 1);
    Child.AddItem(QStringLiteral("b"), QStringLiteral("Data"), 1);

    Child.MergeInto(&Frame);
    EXPECT_EQ(VisibleCaptions(Frame),
              (QStringList{QStringLiteral("File"), QStringLiteral("Options"),
                           QStringLiteral("Data"), QStringLiteral("Window")}));

    TMainMenu::Unmerge(&Frame);
    EXPECT_EQ(VisibleCaptions(Frame), (QStringList{QStringLiteral("File"), QStringLiteral("Edit"),
                                                   QStringLiteral("Window")}));
}

TEST(MenuMerge, MergingAgainDoesNotDuplicateAndAGoneChildLeavesNoTrace) {
    QMenuBar Frame;
    AddFrameItem(Frame, QStringLiteral("File"), 0);
    {
        TMainMenu Child;
        Child.AddItem(QStringLiteral("a"), QStringLiteral("Options"), 1);
        Child.MergeInto(&Frame);
        Child.MergeInto(&Frame);
        EXPECT_EQ(Frame.actions().size(), 2);
    }
    EXPECT_EQ(VisibleCaptions(Frame), QStringList{QStringLiteral("File")});
    TMainMenu::Unmerge(&Frame);
    EXPECT_EQ(VisibleCaptions(Frame), QStringList{QStringLiteral("File")});
}
