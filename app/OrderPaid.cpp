#include "app/OrderPaid.h"

#include "app/DM.h"
#include "app/Payments.h"
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
    // Exact, through the one sum every window reads.
    return paidOf(contractKey);
}

}  // namespace app
