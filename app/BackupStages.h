#pragma once
// The engine's report of a backup or a restore told to a clerk: Russian
// stages with a share done, and Russian names of the shop's tables.
#include <QString>

#include <functional>

namespace app {

// What the clerk sees of a run: a stage and the share done, 0 to 100.
using Progress = std::function<void(int percent, const QString& stage)>;

// "Договоры" for CONTRACTS; a table the program does not know keeps its name.
QString tableCaption(const QString& table);
// Where a table comes in a list for a clerk (contracts first); the tables
// the program does not know come last.
int tableOrder(const QString& table);

// Reads the engine's lines of one run and reports stages between `from`
// and `to` percent of the whole.
class StageReader {
public:
    enum class Run { Backup, Restore };
    StageReader(Run run, int from, int to, Progress progress);

    void line(const QString& text);

private:
    void report(double share, const QString& stage);

    Run run_;
    int from_, to_;
    Progress progress_;
    int tables_ = 0;  // the tables the run described
    int done_ = 0;    // the tables whose data it has
};

}  // namespace app
