#pragma once

#include "host/HostContextOptions.h"

#include <QString>
#include <QStringList>

// What varnholt-batch is told: the reference host's options for the host
// context, and what to select and write where.
struct TBatchOptions : THostContextOptions {
    int SubTypeIndex = 0;
    // Whether --subtype was given (it counts for 预算数 only).
    bool SubTypeGiven = false;
    // Only check the options: no database, no file.
    bool CheckOnly = false;
    // The tables of every unit under the node, each in a folder of its own.
    bool EachUnit = false;
    // Everything on one thread, one step after the other (to compare with,
    // or to rule the parallel work out): VARNHOLT_BATCH_THREADS=1.
    bool OneThread = false;
    // How many read-only connections query the tables at once (--connections,
    // 1 to TQueryThreads::MaxThreads); one step after the other uses the
    // run's own connection alone.
    int Connections = 2;
    // The unit-tree node to select by unit code; empty selects the top node.
    QString NodeCode;
    QString OutputFolder;
    bool WriteXlsx = true;
    bool WritePdf = true;
    // Whether a folder holding another selection's tables may have them
    // replaced by this run's set.
    bool Replace = false;
    // How long to wait for another run to let go of the output folder.
    int WaitSeconds = 10;
};

struct TBatchOptionsResult {
    TBatchOptions Options;
    // Why the arguments cannot be used; empty when they can.
    QString Error;
    bool HelpShown = false;
};

// Parses the arguments, and the [host] section of the INI file --config
// names (the command line wins over it).
TBatchOptionsResult ParseBatchOptions(const QStringList& AArguments);
// The tool's help, in the words its users read.
QString BatchHelpText();
