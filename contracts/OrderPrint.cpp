#include "contracts/OrderPrint.h"

#include "print/Preview.h"
#include "widgets/Messages.h"

namespace contracts {

void PrintOrderPaper(const QString& key, app::OrderPaper paper, QWidget* parent) {
    bool ok = false;
    const int k = key.toInt(&ok);
    if (!ok || k < 0) return;
    const app::PrintedOrder p = app::contractDocument(k, paper);
    if (!p.missing.isEmpty()) widgets::showMessage(app::missingDetailsText(p.missing));
    print::preview(p.document, parent);
}

}  // namespace contracts
