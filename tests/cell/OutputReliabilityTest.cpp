// PDFs and workbooks under hostile conditions: a full disk, odd or
// protected targets, prints in quick succession.

#include "cell/TCellOutputSet.h"
#include "support/CellFixture.h"

#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <vector>
#include <xlsxwriter.h>

namespace {

// The length the workbook library leaves the files it closes at while it
// reports success, as a disk that drops the end of a file without a word
// would; -1 leaves them whole.
qint64 CutWorkbooksTo = -1;

} // namespace

// Stands in for the library's workbook_close (a definition in the program
// comes before the shared library's): closes the workbook through the
// library, then cuts its file as a test asks.
extern "C" lxw_error workbook_close(lxw_workbook* AWorkbook) {
    using TClose = lxw_error (*)(lxw_workbook*);
    static const auto LibraryClose = reinterpret_cast<TClose>(dlsym(RTLD_NEXT, "workbook_close"));
    const QString File = AWorkbook ? QFile::decodeName(AWorkbook->filename) : QString();
    const lxw_error Result = LibraryClose(AWorkbook);
    if (CutWorkbooksTo >= 0 && !File.isEmpty())
        QFile::resize(File, CutWorkbooksTo);
    return Result;
}

namespace {

struct TOutputKind {
    const char* Name;
    std::function<int(TCell5&, const QString&)> Write;
    // Whether a file holds a whole document of this kind.
    std::function<bool(const QString&)> IsWhole;
};

const TOutputKind Kinds[] = {
    {"pdf", [](TCell5& AGrid, const QString& AFile) { return AGrid.PrintToPdf(AFile); },
     [](const QString& AFile) {
         return PdfPageCount(AFile) > 0;
     }},
    {"xlsx", [](TCell5& AGrid, const QString& AFile) { return AGrid.ExportExcel(AFile); },
     [](const QString& AFile) {
         return ZipMember(AFile, "xl/worksheets/sheet1.xml").contains("</worksheet>");
     }},
};

class OutputReliabilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
        Grid.PutText(1, 1, 0, "2024年市教育局公共财政预算资金范围划分明细建议表");
        FillDetailRows(Grid, 40);
        Grid.FinishTable(7, 1, 0);
    }

    TCell5 Grid;
};

} // namespace

// A disk that is full, or a few kilobytes short of the document: the call
// fails with a reason, an earlier file under the name stays as it was, and
// nothing half-written is left anywhere.
TEST_F(OutputReliabilityTest, FullDiskFailsAndLeavesNoPartialFile) {
    for (const TOutputKind& Kind : Kinds) {
        TempDir Dir;
        const QString Whole = Dir.File("whole.out");
        ASSERT_EQ(Kind.Write(Grid, Whole), 0);
        const qint64 Size = QFileInfo(Whole).size();
        for (const qint64 Free : {qint64(0), Size - 3000}) {
            SCOPED_TRACE(std::string(Kind.Name) + " free " + std::to_string(Free));
            SmallDisk Disk(1024 + static_cast<int>(Size / 1024));
            if (!Disk.Mounted())
                GTEST_SKIP() << Disk.Reason().toStdString();
            const QString Earlier = Disk.File("earlier.out");
            WriteBytes(Earlier, "an earlier table");
            const QString Fresh = Disk.File("fresh.out");
            Disk.Fill(Free);
            for (const QString& File : {Earlier, Fresh}) {
                EXPECT_NE(Kind.Write(Grid, File), 0);
                EXPECT_FALSE(Grid.LastError().isEmpty());
                EXPECT_TRUE(Grid.LastOutputFile().isEmpty());
            }
            EXPECT_EQ(ReadBytes(Earlier), "an earlier table");
            EXPECT_FALSE(QFileInfo::exists(Fresh));
            EXPECT_EQ(QDir(Disk.File(QString())).entryList(QDir::Files),
                      QStringList{"earlier.out"});
        }
    }
}

// A workbook the library cut short while it reported success is found out
// after writing, wherever the cut: no file under the name, a reason given.
TEST_F(OutputReliabilityTest, AWorkbookCutShortIsNeverTakenForWritten) {
    TempDir Dir;
    const QString Whole = Dir.File("whole.xlsx");
    ASSERT_EQ(Grid.ExportExcel(Whole), 0);
    const qint64 Size = QFileInfo(Whole).size();
    // Nothing, less than an end record, half, all but the end record, all
    // but its last byte.
    for (const qint64 Length : {qint64(0), qint64(21), Size / 2, Size - 22, Size - 1}) {
        SCOPED_TRACE(Length);
        const QString Target = Dir.File(QStringLiteral("cut%1.xlsx").arg(Length));
        CutWorkbooksTo = Length;
        const int Result = Grid.ExportExcel(Target);
        CutWorkbooksTo = -1;
        EXPECT_NE(Result, 0);
        EXPECT_TRUE(Grid.LastError().contains("不完整")) << Grid.LastError().toStdString();
        EXPECT_FALSE(QFileInfo::exists(Target));
    }
    EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files), QStringList{"whole.xlsx"});
}

// Targets that must not be written are refused with a reason and stay as
// they were; a symbolic link is written through to its file.
TEST_F(OutputReliabilityTest, ProtectedAndOddTargetsAreRefusedAlike) {
    for (const TOutputKind& Kind : Kinds) {
        SCOPED_TRACE(Kind.Name);
        TempDir Dir;
        const QString ReadOnly = Dir.File("readonly.out");
        WriteBytes(ReadOnly, "kept");
        QFile::setPermissions(ReadOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const QString Fifo = MakeFifo(Dir, "fifo.out");
        const QString Dangling = Dir.File("dangling.out");
        QFile::link(Dir.File("nothing-here"), Dangling);
        const QString ToReadOnly = Dir.File("to-readonly.out");
        QFile::link(ReadOnly, ToReadOnly);
        std::vector<std::pair<QString, const char*>> Refused{{ReadOnly, "只读"},
                                                             {ToReadOnly, "只读"},
                                                             {Fifo, "不是普通文件"},
                                                             {Dir.Path(), "不是普通文件"},
                                                             {Dangling, "链接"}};
        // A device node of its own (the null device's numbers), so that a
        // fault cannot replace the system's: only root may make one.
        const QString Device = Dir.File("device.out");
        if (::mknod(QFile::encodeName(Device).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
            Refused.push_back({Device, "不是普通文件"});
        for (const auto& [File, Reason] : Refused) {
            SCOPED_TRACE(File.toStdString());
            EXPECT_EQ(Kind.Write(Grid, File), 1);
            EXPECT_TRUE(Grid.LastError().contains(QString::fromUtf8(Reason)))
                << Grid.LastError().toStdString();
        }
        EXPECT_EQ(ReadBytes(ReadOnly), "kept");
        // The FIFO and the device are still what they were, not files.
        EXPECT_TRUE(QFileInfo::exists(Fifo));
        for (const QString& Odd : {Fifo, Device})
            EXPECT_FALSE(QFileInfo(Odd).isFile()) << Odd.toStdString();
        EXPECT_TRUE(QFileInfo(Dangling).isSymLink());
        EXPECT_FALSE(QFileInfo::exists(Dir.File("nothing-here")));

        const QString Real = Dir.File("real.out");
        WriteBytes(Real, "old");
        const QString Link = Dir.File("link.out");
        QFile::link(Real, Link);
        ASSERT_EQ(Kind.Write(Grid, Link), 0) << Grid.LastError().toStdString();
        EXPECT_TRUE(QFileInfo(Link).isSymLink());
        EXPECT_TRUE(Kind.IsWhole(Real));
        EXPECT_EQ(QDir(Dir.Path()).entryList({"*.part"}, QDir::Files), QStringList());
    }
}

// Without a printer each printed table gets a file of its own, also when
// several are printed within one second.
TEST_F(OutputReliabilityTest, PrintsInQuickSuccessionNeverReplaceEachOther) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed";
    QStandardPaths::setTestModeEnabled(true);
    QStringList Outputs;
    for (int Print = 0; Print < 3; ++Print) {
        EXPECT_EQ(Grid.PrintSheet(0, 0), 0) << Grid.LastError().toStdString();
        Outputs << Grid.LastOutputFile();
    }
    QStandardPaths::setTestModeEnabled(false);
    Outputs.removeDuplicates();
    EXPECT_EQ(Outputs.size(), 3) << Outputs.join(' ').toStdString();
    for (const QString& Output : Outputs) {
        EXPECT_TRUE(PdfPageCount(Output) > 0) << Output.toStdString();
        QFile::remove(Output);
    }
}

// Files held in a set appear together: none before CommitAll; a set that
// cannot move one in stops there, the files before it in, and leaves no
// temporary file once it is gone.
TEST(OutputSet, FilesAppearTogetherOrStopWhereOneCannot) {
    TempDir Dir;
    {
        TCellOutputSet Set;
        for (const char* Name : {"a.pdf", "b.pdf", "c.pdf"}) {
            auto File = std::make_unique<TCellOutputFile>(Dir.File(Name));
            ASSERT_TRUE(File->Open() && File->Write(Name));
            EXPECT_EQ(Set.Hold(File), TCellOutputFile::Committed);
            EXPECT_FALSE(File);
        }
        EXPECT_EQ(Set.Held(), (QStringList{"a.pdf", "b.pdf", "c.pdf"}));
        EXPECT_EQ(QDir(Dir.Path()).entryList({"*.pdf"}), QStringList());
        ASSERT_TRUE(QDir().mkpath(Dir.File("b.pdf")));
        EXPECT_FALSE(Set.CommitAll());
        EXPECT_EQ(Set.Committed(), QStringList{"a.pdf"});
        EXPECT_TRUE(Set.Error().contains("b.pdf")) << Set.Error().toStdString();
    }
    EXPECT_EQ(ReadBytes(Dir.File("a.pdf")), "a.pdf");
    EXPECT_FALSE(QFile::exists(Dir.File("c.pdf")));
    EXPECT_EQ(QDir(Dir.Path()).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
}
