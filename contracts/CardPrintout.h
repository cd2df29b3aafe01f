#pragma once
// The contract card: the template filled with one contract and shown.
#include <QString>

namespace contracts {
// An empty key does nothing at all.
void PrintContractCard(const QString& key);
}
