#include "app/DictionaryPair.h"

namespace app {

void EnsureDictionaryPair(const QString&, const QString&, const QString&, const QString&, const QString&) {}

}  // namespace app
