#include "WindowFixture.h"

#include "platform/ui/TApplication.h"
#include "trees/TNodeItem.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

TbfrmVarnholt& WindowTest::Open(const QString& ALogin, const QString& ADatabase) {
    Scope.reset(); // puts back the host context it found
    Scope = std::make_unique<TReportScope>(ADatabase.isEmpty() ? File : ADatabase, ALogin, true);
    Window = TComponent::Create<TbfrmVarnholt>(Application);
    auto Recording = std::make_unique<TRecordingDialogs>();
    Dialogs = Recording.get();
    Window->SetDialogs(std::move(Recording));
    Window->Show();
    // The window system shows it: paints happen from now on.
    QCoreApplication::processEvents();
    return *Window;
}

void WindowTest::TearDown() {
    if (Window)
        Window->Free();
}

void WindowTest::Choose(QComboBox* AList, const QString& AText) {
    const int Index = AList->findText(AText);
    ASSERT_GE(Index, 0) << AText.toStdString();
    AList->setCurrentIndex(Index);
    emit AList->activated(Index);
}

void WindowTest::Select(const QString& AEid) {
    QTreeWidget* Tree = Window->trvList;
    for (QTreeWidgetItemIterator It(Tree); *It; ++It) {
        const TItemInfo* Info = TNodeItem::From(*It)->ItemInfo();
        if (AEid.isEmpty() ? Info->Kind == TItemInfo::KindTop : Info->Id == AEid) {
            Tree->setCurrentItem(*It);
            return;
        }
    }
    ADD_FAILURE() << "no node " << AEid.toStdString();
}

QStringList WindowTest::Entries(const QComboBox* AList) const {
    QStringList Texts;
    for (int I = 0; I < AList->count(); ++I)
        Texts << AList->itemText(I);
    return Texts;
}
