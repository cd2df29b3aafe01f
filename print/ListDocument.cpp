#include "print/ListDocument.h"

namespace print {

Document listDocument(const QString& title, const QString& subtitle, std::vector<Column> columns,
                      std::vector<QStringList> rows, std::vector<QStringList> totals) {
    Document d;
    d.title = title;
    d.subtitle = subtitle;
    if (columns.size() > 6) d.orientation = Orientation::Landscape;
    d.table(Table{std::move(columns), std::move(rows), std::move(totals)});
    return d;
}

}  // namespace print
