#include "fb/ParamText.h"

namespace fb {

namespace {
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }
}

ParamText translateParams(const QString& text) {
    ParamText out;
    out.sql.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        if (c == u'\'' || c == u'"') {
            // Quoted literal or identifier; a doubled quote stays inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (text[j] == c) {
                    if (j + 1 < n && text[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype end = j < n ? j + 1 : n;
            out.sql += QStringView(text).mid(i, end - i);
            i = end;
        } else if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
            qsizetype j = text.indexOf(u'\n', i);
            if (j < 0) j = n;
            out.sql += QStringView(text).mid(i, j - i);
            i = j;
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            qsizetype j = text.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out.sql += QStringView(text).mid(i, j - i);
            i = j;
        } else if (c == u':' && i + 1 < n && isNameChar(text[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(text[j])) ++j;
            out.names << text.mid(i + 1, j - i - 1).toUpper();
            out.sql += u'?';
            i = j;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

}  // namespace fb
