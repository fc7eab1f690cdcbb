#include "platform/ui/TApplication.h"
#include "trees/TCheckTree.h"
#include "trees/TExceptCheckTree.h"
#include "trees/TreeNodeState.h"

#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {
// root
//  +- a        +- a1, a2
//  +- b
//  +- c (no state image)
class CheckTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tree.resize(300, 300);
        Root = Add(nullptr, "root", 1);
        A = Add(Root, "a", 1);
        A1 = Add(A, "a1", 1);
        A2 = Add(A, "a2", 1);
        B = Add(Root, "b", 1);
        C = Add(Root, "c", NoStateIndex);
        Tree.expandAll();
        Tree.show();
        Checks = std::make_unique<TCheckTree>();
        Checks->SetTreeViewWindow(&Tree);
        Checks->SetActive(true);
        Checks->OnChangeStateIndex = [this](QObject*, QTreeWidgetItem* Node, TRelationKind Kind,
                                            TCheckKind, TCheckKind, bool& Allow) {
            Changes.append(Node->text(0) + QLatin1Char(':') + QString::number(Kind));
            if (Vetoed.count(Node) && Vetoed[Node] == Kind)
                Allow = false;
        };
    }

    QTreeWidgetItem* Add(QTreeWidgetItem* AParent, const char* AText, int AState) {
        auto* Node = AParent ? new QTreeWidgetItem(AParent) : new QTreeWidgetItem(&Tree);
        Node->setText(0, QString::fromLatin1(AText));
        SetStateIndex(Node, AState);
        return Node;
    }

    QPoint StateIconCentre(QTreeWidgetItem* ANode) {
        QStyleOptionViewItem Option;
        Option.initFrom(Tree.viewport());
        Option.rect = Tree.visualItemRect(ANode);
        Option.features =
            QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        Option.text = ANode->text(0);
        return Tree.style()
            ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &Option, &Tree)
            .center();
    }

    void ClickIcon(QTreeWidgetItem* ANode) {
        QTest::mouseClick(Tree.viewport(), Qt::LeftButton, {}, StateIconCentre(ANode));
    }

    QString States() const {
        QString Text;
        for (QTreeWidgetItem* Node : {Root, A, A1, A2, B, C})
            Text += QString::number(StateIndex(Node));
        return Text;
    }

    // The boxes drawn: e(mpty), c(hecked), g(rayed), - for none.
    QString Looks() const {
        QString Text;
        for (QTreeWidgetItem* Node : {Root, A, A1, A2, B, C}) {
            const QVariant Look = Node->data(0, Qt::CheckStateRole);
            Text += !Look.isValid()                 ? '-'
                    : Look.toInt() == Qt::Unchecked ? 'e'
                    : Look.toInt() == Qt::Checked   ? 'c'
                                                    : 'g';
        }
        return Text;
    }

    QTreeWidget Tree;
    QTreeWidgetItem *Root, *A, *A1, *A2, *B, *C;
    std::unique_ptr<TCheckTree> Checks;
    QStringList Changes;
    std::map<QTreeWidgetItem*, TRelationKind> Vetoed;
};
} // namespace

// States read root, a, a1, a2, b, c; 1 empty, 2 checked, 3 grayed, -1 none.
TEST_F(CheckTreeTest, ClicksOnStateImagesPropagateDownAndUp) {
    ClickIcon(A);
    EXPECT_EQ(States(), QStringLiteral("32221-1"));
    EXPECT_EQ(Changes, (QStringList{"a:0", "a1:1", "a2:1", "root:2"}));
    ClickIcon(B);
    EXPECT_EQ(States(), QStringLiteral("22222-1")) << "a node without image must not count";
    ClickIcon(A1);
    EXPECT_EQ(States(), QStringLiteral("33122-1"));
    ClickIcon(A);
    EXPECT_EQ(States(), QStringLiteral("22222-1"))
        << "a grayed node turns checked with its subtree";
}

// Whatever indices stand for empty, checked and grayed, they draw those
// boxes, and clicks toggle between them: existing nodes are drawn anew when
// the indices change.
TEST_F(CheckTreeTest, ConfiguredIndicesDrawAndToggleAsTheBoxesTheyStandFor) {
    struct Case {
        int Empty, Checked, Grayed;
        const char* LooksBefore;
        const char* StatesAfter;
    };
    const Case Cases[] = {
        {2, 1, 3, "ccccc-", "31112-1"},
        {4, 5, 6, "------", "65554-1"},
    };
    for (const Case& C : Cases) {
        for (QTreeWidgetItem* Node : {Root, A, A1, A2, B})
            SetStateIndex(Node, 1);
        Checks->SetStateIdxEmpty(C.Empty);
        Checks->SetStateIdxChecked(C.Checked);
        Checks->SetStateIdxGrayed(C.Grayed);
        EXPECT_EQ(Looks(), QString::fromLatin1(C.LooksBefore)) << C.Empty;
        for (QTreeWidgetItem* Node : {Root, A, A1, A2, B})
            SetStateIndex(Node, C.Empty);
        EXPECT_EQ(Looks(), QStringLiteral("eeeee-")) << C.Empty;
        ClickIcon(A);
        EXPECT_EQ(States(), QString::fromLatin1(C.StatesAfter)) << C.Empty;
        EXPECT_EQ(Looks(), QStringLiteral("gccce-")) << C.Empty;
    }
}

TEST_F(CheckTreeTest, AVetoedChildKeepsItsStateAndTheAncestorsAreRecomputed) {
    Vetoed[A1] = rkCldNode;
    ClickIcon(A);
    EXPECT_EQ(States(), QStringLiteral("32121-1"));
}

TEST_F(CheckTreeTest, AHandledClickChangesNothingAndFiresNoStateEvent) {
    Checks->OnBeforClickTreeNode = [](QObject*, QTreeWidgetItem*, bool& Handled) {
        Handled = true;
    };
    ClickIcon(A);
    EXPECT_EQ(States(), QStringLiteral("11111-1"));
    EXPECT_TRUE(Changes.isEmpty());
}

TEST_F(CheckTreeTest, OnlyTheStateImageAndAPlainSpaceReleaseToggle) {
    // The label is not the state image.
    QTest::mouseClick(Tree.viewport(), Qt::LeftButton, {}, Tree.visualItemRect(B).center());
    EXPECT_EQ(States(), QStringLiteral("11111-1"));
    // A node without an image never changes.
    ClickIcon(C);
    Checks->ClickNode(C);
    EXPECT_EQ(States(), QStringLiteral("11111-1"));

    Tree.setCurrentItem(B);
    QTest::keyRelease(&Tree, Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(States(), QStringLiteral("11111-1"));
    QTest::keyRelease(&Tree, Qt::Key_Space);
    EXPECT_EQ(States(), QStringLiteral("31112-1"));
}

TEST_F(CheckTreeTest, InactiveItLeavesEverythingToThePreviousHandler) {
    Checks.reset();
    int Seen = 0;
    Application->OnMessage = [&Seen](TMsg&, bool&) {
        ++Seen;
    };
    Checks = std::make_unique<TCheckTree>();
    Checks->SetTreeViewWindow(&Tree);
    ClickIcon(A);
    EXPECT_EQ(States(), QStringLiteral("11111-1"));
    EXPECT_GE(Seen, 2) << "press and release must reach the previous handler";
    Checks.reset();
    ASSERT_TRUE(Application->OnMessage) << "the previous handler was not put back";
    Application->OnMessage = nullptr;
}

TEST_F(CheckTreeTest, StateIndexPropertiesRefuseNonPositiveValues) {
    struct Case {
        void (TCheckTree::*Set)(int);
        int (TCheckTree::*Get)() const;
        const char* Name;
    };
    const Case Cases[] = {
        {&TCheckTree::SetStateIdxEmpty, &TCheckTree::StateIdxEmpty, "StateIdxEmpty"},
        {&TCheckTree::SetStateIdxChecked, &TCheckTree::StateIdxChecked, "StateIdxChecked"},
        {&TCheckTree::SetStateIdxGrayed, &TCheckTree::StateIdxGrayed, "StateIdxGrayed"},
    };
    for (const Case& C : Cases) {
        const int Before = (Checks.get()->*C.Get)();
        for (int Bad : {0, -1}) {
            try {
                (Checks.get()->*C.Set)(Bad);
                ADD_FAILURE() << C.Name << " took " << Bad;
            } catch (const TExceptCheckTree& E) {
                EXPECT_EQ(E.Message(),
                          QString::fromLatin1(C.Name) + QStringLiteral("属性的值必须大于0"));
            }
            EXPECT_EQ((Checks.get()->*C.Get)(), Before);
        }
        (Checks.get()->*C.Set)(7);
        EXPECT_EQ((Checks.get()->*C.Get)(), 7);
    }
}

TEST_F(CheckTreeTest, HooksGoneInAnyOrderLeaveAWorkingChain) {
    Checks.reset();
    int Previous = 0;
    Application->OnMessage = [&Previous](TMsg&, bool&) {
        ++Previous;
    };
    auto First = std::make_unique<TCheckTree>();
    auto Second = std::make_unique<TCheckTree>();
    Second->SetTreeViewWindow(&Tree);
    Second->SetActive(true);
    ClickIcon(B);
    EXPECT_EQ(StateIndex(B), 2) << "the later hook runs first";
    const int SeenBefore = Previous;
    EXPECT_GE(SeenBefore, 2) << "the chain did not reach the first handler";

    // Out of order: the first goes, then the second puts back a handler of
    // the first; messages must still travel without touching either.
    First.reset();
    Second.reset();
    ClickIcon(B);
    EXPECT_GT(Previous, SeenBefore);
    EXPECT_EQ(StateIndex(B), 2);
    Application->OnMessage = nullptr;
}
