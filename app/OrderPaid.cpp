#include "app/OrderPaid.h"

#include "app/DM.h"
#include "app/SchemaUpgrade.h"

namespace app {

std::optional<rtl::Money> paidForContract(int contractKey) {
    if (!hasSchema(2)) return std::nullopt;
    fb::Query& q = DM->iSQL2;
    // A database of a later step made by a program without payments.
    TDM::reset(q, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'PAYMENTS'"));
    q.open();
    const bool kept = q.field(0).asInteger() > 0;
    q.close();
    if (!kept) return std::nullopt;
    TDM::reset(q, QStringLiteral(
                      "SELECT COALESCE(SUM(CASE WHEN method = :refund THEN -amount ELSE amount END), 0) "
                      "FROM Payments WHERE ct_fk = :ct_fk"));
    q.setInteger(QStringLiteral("ct_fk"), contractKey);
    q.setString(QStringLiteral("refund"), QStringLiteral("ВОЗВРАТ"));
    q.open();
    const double paid = q.field(0).asFloat();
    q.close();
    return rtl::Money::fromDouble(paid);
}

}  // namespace app
