#pragma once
// A printed list in a few lines: a title, a subtitle (the period, the car),
// one table and its total rows. Report windows describe their grids with it:
//
//   auto d = print::listDocument(QStringLiteral("Должники"), period,
//       {{QStringLiteral("Клиент")}, {QStringLiteral("Долг"), Qt::AlignRight, 15}}, rows,
//       {{QStringLiteral("Итого"), total}});
//   d.runningHead = shopName;
//   print::preview(d, this);
#include "print/Document.h"

namespace print {

// Turned to landscape past six columns.
Document listDocument(const QString& title, const QString& subtitle, std::vector<Column> columns,
                      std::vector<QStringList> rows, std::vector<QStringList> totals = {});

}  // namespace print
