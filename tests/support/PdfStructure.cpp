#include "PdfStructure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <qpdf/QPDF.hh>

namespace {

// qpdf's exit code (-1 when it did not end by itself) and what it wrote.
struct TQpdf {
    int Exit = -1;
    QByteArray Out, Err;
};

TQpdf RunQpdf(const QStringList& AArguments) {
    QProcess Process;
    Process.start("qpdf", AArguments);
    const bool Ended =
        Process.waitForFinished(60000) && Process.exitStatus() == QProcess::NormalExit;
    return {Ended ? Process.exitCode() : -1, Process.readAllStandardOutput(),
            Process.readAllStandardError()};
}

// Exit 0 sound, 2 errors, 3 warnings only (a repaired file).
QString CheckFault(const QString& AFileName) {
    const TQpdf Run = RunQpdf({"--check", AFileName});
    const QByteArray Said = Run.Out + Run.Err;
    if (Run.Exit == 0 && !Said.contains("WARNING"))
        return QString();
    return QString("qpdf --check (exit %1): %2").arg(Run.Exit).arg(QString(Said).trimmed());
}

// The objects of a file as qpdf's JSON gives them: "obj:N 0 R" -> {"value": ...}
// or {"stream": {"dict": ...}}. A fault found is thrown as its description.
struct TObjects {
    const QJsonObject All;

    // The object's dictionary or value; null when it is not there.
    QJsonValue Get(const QString& AReference) const {
        const QJsonObject Entry = All.value("obj:" + AReference).toObject();
        return Entry.contains("stream") ? Entry["stream"].toObject().value("dict")
                                        : Entry.value("value");
    }
    // A reference anywhere in AValue (of AIn) to an object that is not there.
    void CheckReferences(const QJsonValue& AValue, const QString& AIn) const {
        static const QRegularExpression Reference("^\\d+ \\d+ R$");
        const QString Text = AValue.toString();
        if (Reference.match(Text).hasMatch() && Get(Text).isNull())
            throw QString("%1 refers to %2, which is not there").arg(AIn, Text);
        for (const QJsonValue& Item : AValue.toArray())
            CheckReferences(Item, AIn);
        for (const QJsonValue& Item : AValue.toObject())
            CheckReferences(Item, AIn);
    }
    // The pages under ANode, a kid of AParent.
    int Pages(const QString& ANode, const QString& AParent, QSet<QString>& ASeen) const {
        if (ASeen.contains(ANode))
            throw ANode + " appears twice in the page tree";
        ASeen.insert(ANode);
        const QJsonObject Node = Get(ANode).toObject();
        const QString Parent = Node.value("/Parent").toString();
        if (Parent != AParent)
            throw QString("%1 names %2 as its parent, not %3").arg(ANode, Parent, AParent);
        const QString Type = Node.value("/Type").toString();
        if (Type == "/Page")
            return 1;
        if (Type != "/Pages")
            throw QString("%1 in the page tree is of type '%2'").arg(ANode, Type);
        int Count = 0;
        for (const QJsonValue& Kid : Node.value("/Kids").toArray())
            Count += Pages(Kid.toString(), ANode, ASeen);
        const int Counted = Node.value("/Count").toInt(-1);
        if (Counted != Count)
            throw QString("%1 counts %2 pages but holds %3").arg(ANode).arg(Counted).arg(Count);
        return Count;
    }
};

// Every object the table lists is there (a free or null entry is not), and
// so is every object referred to; the document information is a dictionary
// and the page tree whole.
QString ObjectFault(const QString& AFileName) {
    const TQpdf Run = RunQpdf({"--json=2", "--json-key=qpdf", AFileName});
    const QJsonArray Parts = QJsonDocument::fromJson(Run.Out).object().value("qpdf").toArray();
    if (Run.Exit != 0 || Parts.size() != 2)
        return QString("qpdf --json (exit %1) could not read the objects").arg(Run.Exit);
    const TObjects Objects{Parts[1].toObject()};
    try {
        for (auto It = Objects.All.begin(); It != Objects.All.end(); ++It) {
            if (It.key().startsWith("obj:") && Objects.Get(It.key().mid(4)).isNull())
                return QString("object %1 is free or null").arg(It.key().mid(4));
            Objects.CheckReferences(It.value(), It.key());
        }
        const QJsonObject Trailer = Objects.All["trailer"].toObject()["value"].toObject();
        const QJsonValue Info = Trailer.value("/Info");
        if (!Info.isUndefined() && !Objects.Get(Info.toString()).isObject())
            return QString("the document information is not a dictionary");
        const QJsonObject Catalog = Objects.Get(Trailer.value("/Root").toString()).toObject();
        QSet<QString> Seen;
        return Objects.Pages(Catalog.value("/Pages").toString(), QString(), Seen) > 0
                   ? QString()
                   : QString("the page tree holds no page");
    } catch (const QString& AFault) {
        return AFault;
    }
}

} // namespace

QString PdfStructureFault(const QString& AFileName) {
    const QString Fault = CheckFault(AFileName);
    return Fault.isEmpty() ? ObjectFault(AFileName) : Fault;
}

std::vector<qsizetype> PdfObjectOffsets(const QByteArray& APdf) {
    QPDF Pdf;
    Pdf.setSuppressWarnings(true);
    Pdf.setAttemptRecovery(false);
    std::vector<qsizetype> Offsets;
    try {
        Pdf.processMemoryFile("PDF", APdf.constData(), size_t(APdf.size()));
        for (const auto& [Object, Entry] : Pdf.getXRefTable()) {
            Offsets.resize(std::max(Offsets.size(), size_t(Object.getObj()) + 1), -1);
            Offsets[size_t(Object.getObj())] = Entry.getType() == 1 ? Entry.getOffset() : -1;
        }
    } catch (const std::exception&) {
        return {};
    }
    return Pdf.anyWarnings() ? std::vector<qsizetype>() : Offsets;
}

QByteArray PdfCrossReference(const std::vector<qsizetype>& AOffsets) {
    QByteArray Table = "xref\n0 " + QByteArray::number(qsizetype(AOffsets.size())) + "\n";
    for (size_t Number = 0; Number < AOffsets.size(); ++Number) {
        const bool Free = Number == 0 || AOffsets[Number] < 0;
        Table += QByteArray::number(Free ? 0 : AOffsets[Number]).rightJustified(10, '0') +
                 (Free ? " 65535 f \n" : " 00000 n \n");
    }
    return Table;
}
