#include "tools/ReportTable.h"

#include <algorithm>

namespace tools {

namespace {

QString csvField(QString v) {
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    if (v.contains(u';') || v.contains(u'"')) return u'"' + v.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    return v;
}

}  // namespace

QString alignedText(const ReportTable& t) {
    QList<qsizetype> width(t.header.size(), 0);
    auto measure = [&width](const QStringList& row) {
        for (qsizetype c = 0; c < row.size() && c < width.size(); ++c) width[c] = std::max(width[c], row[c].size());
    };
    measure(t.header);
    for (const QStringList& r : t.rows) measure(r);
    for (const QStringList& r : t.totals) measure(r);
    auto line = [&](const QStringList& row) {
        QString out;
        for (qsizetype c = 0; c < width.size(); ++c) {
            const QString v = row.value(c);
            const bool right = t.rightAligned.value(c, false);
            if (c > 0) out += QStringLiteral("  ");
            out += right ? v.rightJustified(width[c]) : v.leftJustified(width[c]);
        }
        while (out.endsWith(u' ')) out.chop(1);
        return out + u'\n';
    };
    QString out = line(t.header);
    qsizetype total = 0;
    for (qsizetype w : width) total += w;
    const QString rule = QString(total + 2 * std::max<qsizetype>(0, width.size() - 1), u'-') + u'\n';
    out += rule;
    for (const QStringList& r : t.rows) out += line(r);
    if (!t.totals.isEmpty()) {
        out += rule;
        for (const QStringList& r : t.totals) out += line(r);
    }
    return out;
}

QString csvText(const ReportTable& t) {
    auto line = [](const QStringList& row) {
        QStringList fields;
        for (const QString& v : row) fields << csvField(v);
        return fields.join(u';') + u'\n';
    };
    QString out = line(t.header);
    for (const QStringList& r : t.rows) out += line(r);
    for (const QStringList& r : t.totals) out += line(r);
    return out;
}

QString reportText(const ReportTable& table, bool csv) { return csv ? csvText(table) : alignedText(table); }

}  // namespace tools
