#pragma once
// A contract's work order or acceptance act in the print preview, as the
// program lays it out; the clerk is told once which of the shop's details
// are missing (the document prints with blank lines for them).
#include "app/OrderDocument.h"

#include <QString>

class QWidget;

namespace contracts {

// An empty key does nothing.
void PrintOrderPaper(const QString& key, app::OrderPaper paper, QWidget* parent);

}  // namespace contracts
