#include "WindowFixture.h"

#include "platform/TApplication.h"
#include "support/CellFixture.h"
#include "trees/TNodeItem.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QXmlStreamReader>

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

QString CellRef(int ACol, int ARow) {
    QString Letters;
    for (int Col = ACol; Col > 0; Col = (Col - 1) / 26)
        Letters.prepend(QChar('A' + (Col - 1) % 26));
    return Letters + QString::number(ARow);
}

QMap<QString, QVariant> WorkbookCells(const QString& AFile) {
    QStringList Shared;
    QXmlStreamReader Strings(ZipMember(AFile, QStringLiteral("xl/sharedStrings.xml")));
    while (!Strings.atEnd())
        if (Strings.readNext() == QXmlStreamReader::StartElement &&
            Strings.name() == QStringLiteral("t"))
            Shared << Strings.readElementText();
    QMap<QString, QVariant> Cells;
    QXmlStreamReader Sheet(ZipMember(AFile, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString Ref, Type;
    while (!Sheet.atEnd()) {
        if (Sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (Sheet.name() == QStringLiteral("c")) {
            Ref = Sheet.attributes().value(QStringLiteral("r")).toString();
            Type = Sheet.attributes().value(QStringLiteral("t")).toString();
        } else if (Sheet.name() == QStringLiteral("v") || Sheet.name() == QStringLiteral("t")) {
            const QString Value = Sheet.readElementText();
            if (Type == QStringLiteral("s"))
                Cells[Ref] = Shared.value(Value.toInt());
            else if (Type.isEmpty() || Type == QStringLiteral("n"))
                Cells[Ref] = Value.toDouble();
            else
                Cells[Ref] = Value;
        }
    }
    return Cells;
}

QString PdfPageText(const QString& AFile, int APage) {
    const QString Page = QString::number(APage);
    return RunTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-raw"), QStringLiteral("-f"), Page, QStringLiteral("-l"), Page,
                    AFile, QStringLiteral("-")})
        .normalized(QString::NormalizationForm_KC);
}

QString FoldPdfTwins(QString AText) {
    static const QList<std::pair<QChar, QChar>> Twins{
        {QChar(0x2EDA), QChar(0x9875)}, // 页
        {QChar(0x2EA0), QChar(0x6C11)}, // 民
        {QChar(0x2EC5), QChar(0x89C1)}, // 见
        {QChar(0x2ED4), QChar(0x95E8)}, // 门
        {QChar(0x6236), QChar(0x6237)}, // 户
    };
    for (const auto& [Twin, Character] : Twins)
        AText.replace(Twin, Character);
    return AText;
}
