#include "contracts/JournalMoney.h"

#include <limits>

namespace contracts {

namespace {
constexpr qint64 kUnknown = std::numeric_limits<qint64>::min();  // due of a sum past the money limit
}  // namespace

QStringList journalPayNames() { return {QStringLiteral("ВСЕ"), QStringLiteral("НЕОПЛАЧЕННЫЕ")}; }

JournalRows::JournalRows(fb::RowSet rows, app::FetchedRows::Cell cell, int keyCol, int paidCol,
                         const QHash<int, app::ContractMoney>& money, bool withMoney, bool unpaidOnly, int sumsCol)
    : rows_(std::move(rows)), cell_(std::move(cell)), paidCol_(paidCol), withMoney_(withMoney) {
    const int n = rows_.rowCount();
    index_.reserve(size_t(n));
    if (withMoney_) {
        paid_.reserve(size_t(n));
        due_.reserve(size_t(n));
    }
    for (int r = 0; r < n; ++r) {
        if (!withMoney_) {
            index_.push_back(r);
            continue;
        }
        qint64 paid = 0, due = 0;
        if (sumsCol >= 0) {
            paid = rows_.scaledInteger(r, sumsCol + 2, -4);
            due = rows_.isNull(r, sumsCol) || rows_.isNull(r, sumsCol + 1)
                      ? kUnknown
                      : rows_.scaledInteger(r, sumsCol, -4) + rows_.scaledInteger(r, sumsCol + 1, -4) - paid;
        } else {
            // A contract added after the journal's statement ran has no money
            // row yet: it shows its lines' total as due at the next refill.
            const app::ContractMoney m = money.value(int(rows_.integer(r, keyCol)));
            paid = m.paid.units();
            due = m.known ? m.total.units() - paid : kUnknown;
        }
        if (unpaidOnly && (due == kUnknown || due <= 0)) continue;
        index_.push_back(r);
        paid_.push_back(paid);
        due_.push_back(due);
    }
}

QString JournalRows::text(int col, int row) const {
    if (row < 0 || row >= count()) return QString();
    if (col < paidCol_) return cell_(rows_, col, index_[size_t(row)]);
    if (!withMoney_ || col > paidCol_ + 1) return QString();
    const qint64 v = col == paidCol_ ? paid_[size_t(row)] : due_[size_t(row)];
    if (v == kUnknown) return QString();
    return QStringLiteral("  ") + app::moneyText(rtl::Money::fromUnits(v));
}

}  // namespace contracts
