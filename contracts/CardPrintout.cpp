#include "contracts/CardPrintout.h"

namespace contracts {
void PrintContractCard(const QString& key) {
    if (key.isEmpty()) return;
}
}  // namespace contracts
