// Any bytes as a .cll template: the reader either refuses them with a reason
// or gives a sheet whose merges lie inside it and agree with its index.
#include "cell/TCllReader.h"

#include <QGuiApplication>
#include <cstdlib>

namespace {

void Require(bool ACondition) {
    if (!ACondition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* AArgc, char*** AArgv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication App(*AArgc, *AArgv); // fonts need one
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    TCllReader Reader;
    TCellSheet Sheet;
    const QByteArray Data(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize));
    const TCllReader::TResult Result = Reader.ReadBytes(Data, Sheet);
    if (Result != TCllReader::Ok) {
        Require(!Reader.Error().isEmpty() && Sheet.RowCount() == 1 && Sheet.Merges().empty());
        return 0;
    }
    Require(Sheet.ColCount() >= 1 && Sheet.ColCount() <= TCellSheet::MaxColumns);
    for (const TCellRange& Merge : Sheet.Merges()) {
        Require(Merge.FirstCol >= 1 && Merge.LastCol <= Sheet.ColCount());
        Require(Merge.FirstRow >= 1 && Merge.LastRow < Sheet.RowCount());
        Require(Sheet.MergeAt(Merge.FirstCol, Merge.FirstRow) == &Merge);
        Require(Sheet.MergeAt(Merge.LastCol, Merge.LastRow) == &Merge);
    }
    const TCellPageSetup& Page = Sheet.Page();
    Require(!Page.HasRepeatedRows() || Page.RepeatLastRow < Sheet.RowCount());
    return 0;
}
