#include "PdfStructure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

namespace {

struct TQpdfRun {
    bool Ran = false;
    int Exit = -1;
    QByteArray Output;
    QByteArray Errors;
};

TQpdfRun RunQpdf(const QStringList& AArguments) {
    QProcess Process;
    Process.start(QStringLiteral("qpdf"), AArguments);
    TQpdfRun Run;
    Run.Ran = Process.waitForFinished(60000) && Process.exitStatus() == QProcess::NormalExit;
    Run.Exit = Process.exitCode();
    Run.Output = Process.readAllStandardOutput();
    Run.Errors = Process.readAllStandardError();
    return Run;
}

// Exit 0 sound, 2 errors, 3 warnings only (a repaired file).
QString CheckFault(const QString& AFileName) {
    const TQpdfRun Run = RunQpdf({QStringLiteral("--check"), AFileName});
    const QByteArray Said = Run.Output + Run.Errors;
    if (Run.Ran && Run.Exit == 0 && !Said.contains("WARNING"))
        return QString();
    return QStringLiteral("qpdf --check (exit %1): %2")
        .arg(Run.Exit)
        .arg(QString::fromUtf8(Said).trimmed());
}

bool IsReference(const QJsonValue& AValue) {
    static const QRegularExpression Reference(QStringLiteral("^\\d+ \\d+ R$"));
    return AValue.isString() && Reference.match(AValue.toString()).hasMatch();
}

// The objects of a file as qpdf's JSON gives them: "obj:N 0 R" -> {"value": ...}
// or {"stream": {"dict": ...}}.
class TObjects {
public:
    explicit TObjects(const QJsonObject& AObjects)
        : FObjects(AObjects) {}

    // The object's dictionary or value; null when it is not there.
    QJsonValue Get(const QString& AReference) const {
        const QJsonObject Entry = FObjects.value(QStringLiteral("obj:") + AReference).toObject();
        return Entry.contains(QStringLiteral("stream"))
                   ? Entry.value(QStringLiteral("stream")).toObject().value(QStringLiteral("dict"))
                   : Entry.value(QStringLiteral("value"));
    }
    QJsonObject Trailer() const {
        return FObjects.value(QStringLiteral("trailer"))
            .toObject()
            .value(QStringLiteral("value"))
            .toObject();
    }
    QString MissingObject() const;
    QString PageTreeFault() const;

private:
    QString MissingIn(const QJsonValue& AValue) const;
    int Pages(const QString& ANode, const QString& AParent, QSet<QString>& ASeen,
              QString& AFault) const;

    const QJsonObject& FObjects;
};

// A reference anywhere in AValue to an object that is not there.
QString TObjects::MissingIn(const QJsonValue& AValue) const {
    if (IsReference(AValue))
        return Get(AValue.toString()).isNull() ? AValue.toString() : QString();
    QString Found;
    if (AValue.isArray())
        for (const QJsonValue& Item : AValue.toArray())
            if (Found.isEmpty())
                Found = MissingIn(Item);
    if (AValue.isObject())
        for (const QJsonValue& Item : AValue.toObject())
            if (Found.isEmpty())
                Found = MissingIn(Item);
    return Found;
}

// Every object the table lists is there (a free or null entry is not),
// and so is every object referred to.
QString TObjects::MissingObject() const {
    for (auto It = FObjects.begin(); It != FObjects.end(); ++It) {
        if (It.key().startsWith(QStringLiteral("obj:")) && Get(It.key().mid(4)).isNull())
            return QStringLiteral("object %1 is free or null").arg(It.key().mid(4));
        const QString Missing = MissingIn(It.value());
        if (!Missing.isEmpty())
            return QStringLiteral("%1 refers to %2, which is not there").arg(It.key(), Missing);
    }
    return QString();
}

// The pages under ANode, or -1 with AFault.
int TObjects::Pages(const QString& ANode, const QString& AParent, QSet<QString>& ASeen,
                    QString& AFault) const {
    if (ASeen.contains(ANode)) {
        AFault = ANode + QStringLiteral(" appears twice in the page tree");
        return -1;
    }
    ASeen.insert(ANode);
    const QJsonObject Node = Get(ANode).toObject();
    if (Node.value(QStringLiteral("/Parent")).toString() != AParent) {
        AFault = QStringLiteral("%1 names %2 as its parent, not %3")
                     .arg(ANode, Node.value(QStringLiteral("/Parent")).toString(), AParent);
        return -1;
    }
    const QString Type = Node.value(QStringLiteral("/Type")).toString();
    if (Type == QStringLiteral("/Page"))
        return 1;
    if (Type != QStringLiteral("/Pages")) {
        AFault = QStringLiteral("%1 in the page tree is of type '%2'").arg(ANode, Type);
        return -1;
    }
    int Count = 0;
    for (const QJsonValue& Kid : Node.value(QStringLiteral("/Kids")).toArray()) {
        const int Under = Pages(Kid.toString(), ANode, ASeen, AFault);
        if (Under < 0)
            return -1;
        Count += Under;
    }
    if (Node.value(QStringLiteral("/Count")).toInt(-1) != Count) {
        AFault = QStringLiteral("%1 counts %2 pages but holds %3")
                     .arg(ANode)
                     .arg(Node.value(QStringLiteral("/Count")).toInt(-1))
                     .arg(Count);
        return -1;
    }
    return Count;
}

QString TObjects::PageTreeFault() const {
    const QJsonValue Info = Trailer().value(QStringLiteral("/Info"));
    if (!Info.isUndefined() && !Get(Info.toString()).isObject())
        return QStringLiteral("the document information is not a dictionary");
    const QJsonObject Catalog = Get(Trailer().value(QStringLiteral("/Root")).toString()).toObject();
    QSet<QString> Seen;
    QString Fault;
    const int Count =
        Pages(Catalog.value(QStringLiteral("/Pages")).toString(), QString(), Seen, Fault);
    return Count > 0 || !Fault.isEmpty() ? Fault : QStringLiteral("the page tree holds no page");
}

QString ObjectFault(const QString& AFileName) {
    const TQpdfRun Run =
        RunQpdf({QStringLiteral("--json=2"), QStringLiteral("--json-key=qpdf"), AFileName});
    const QJsonArray Parts =
        QJsonDocument::fromJson(Run.Output).object().value(QStringLiteral("qpdf")).toArray();
    if (!Run.Ran || Run.Exit != 0 || Parts.size() != 2)
        return QStringLiteral("qpdf --json (exit %1) could not read the objects").arg(Run.Exit);
    const QJsonObject Objects = Parts[1].toObject();
    const TObjects Read(Objects);
    const QString Missing = Read.MissingObject();
    return Missing.isEmpty() ? Read.PageTreeFault() : Missing;
}

} // namespace

QString PdfStructureFault(const QString& AFileName) {
    const QString Fault = CheckFault(AFileName);
    return Fault.isEmpty() ? ObjectFault(AFileName) : Fault;
}
