#include "fb/ServerPath.h"

#include <QRegularExpression>

namespace fb {

ServerPath ServerPath::parse(const QString& database) {
    static const QRegularExpression re(QStringLiteral("^([^:/\\\\]{2,}(?:/[0-9A-Za-z_-]+)?):(.+)$"));
    const QRegularExpressionMatch m = re.match(database);
    if (!m.hasMatch()) return {QString(), database};
    return {m.captured(1), m.captured(2)};
}

}  // namespace fb
