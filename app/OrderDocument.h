#pragma once
// The work order and the acceptance act of a contract as printed documents:
// what each holds and in what order; print/ lays them out. A detail that is
// missing prints as a line to fill in by hand.
#include "print/Document.h"

namespace app {

struct ShopDetails;
struct WorkOrder;

print::Document orderDocument(const WorkOrder& order, const ShopDetails& shop);
print::Document actDocument(const WorkOrder& order, const ShopDetails& shop);

// The document of contract `key` ("order" or "act") with the stored shop
// details, and the names of the shop's details it lacks (the caller says
// once which are missing). Throws rtl::ConvertError for a missing contract.
struct PrintedOrder {
    print::Document document;
    QStringList missing;
};
enum class OrderPaper { Order, Act };
PrintedOrder contractDocument(int key, OrderPaper paper);

// "Не заполнены реквизиты автосервиса: ИНН, адрес. ..." for `missing`.
QString missingDetailsText(const QStringList& missing);

}  // namespace app
