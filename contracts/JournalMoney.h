#pragma once
// The journal's rows with "ОПЛАЧЕНО" and "К ОПЛАТЕ": the rows of the fixed
// statement merged by key with the money of the same period, fetched by a
// second statement; "НЕОПЛАЧЕННЫЕ" keeps the rows with something due.
#include "app/FetchedRows.h"
#include "app/PaymentReports.h"

#include <QHash>
#include <QStringList>

#include <vector>

namespace contracts {

enum JournalPayIndex { kPayAll = 0, kPayUnpaid };
QStringList journalPayNames();  // "ВСЕ", "НЕОПЛАЧЕННЫЕ"

class JournalRows : public widgets::GridRows {
public:
    // `cell` makes the texts of the other columns; `keyCol` is the fetched
    // column of the contract's key. `sumsCol` >= 0: the rows hold the
    // contract's kept works, spares and paid sums there (a NULL works or
    // spares sum, a line past the money limit: due is left blank and the
    // row is not "unpaid", as in the debtors); else `money` by key.
    // `withMoney` false (a database without payments): the money columns
    // stay empty and nothing is filtered.
    JournalRows(fb::RowSet rows, app::FetchedRows::Cell cell, int keyCol, int paidCol,
                const QHash<int, app::ContractMoney>& money, bool withMoney, bool unpaidOnly, int sumsCol = -1);

    int count() const override { return int(index_.size()); }
    QString text(int col, int row) const override;

private:
    fb::RowSet rows_;
    app::FetchedRows::Cell cell_;
    int paidCol_;
    bool withMoney_;
    std::vector<int> index_;        // fetched row of each shown row
    std::vector<qint64> paid_, due_;  // in 1/10000, per shown row
};

}  // namespace contracts
