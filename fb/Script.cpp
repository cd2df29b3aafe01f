#include "fb/Script.h"

#include "fb/Connection.h"
#include "fb/Client.h"
#include "fb/Cp1251.h"
#include "fb/Transaction.h"

#include <QRegularExpression>

namespace fb {

QStringList splitScript(const QString& text) {
    QStringList out;
    QString term = QStringLiteral(";");
    QString cur;
    const qsizetype n = text.size();
    static const QRegularExpression setTerm(QStringLiteral("^\\s*SET\\s+TERM\\s+(\\S+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    auto flush = [&] {
        const QString stmt = cur.trimmed();
        cur.clear();
        if (stmt.isEmpty()) return;
        const auto m = setTerm.match(stmt);
        if (m.hasMatch()) {
            term = m.captured(1);
            return;
        }
        out << stmt;
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        if (c == u'\'' || c == u'"') {
            qsizetype j = text.indexOf(c, i + 1);
            j = j < 0 ? n : j + 1;
            cur += QStringView(text).mid(i, j - i);
            i = j;
        } else if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
            qsizetype j = text.indexOf(u'\n', i);
            i = j < 0 ? n : j;
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            qsizetype j = text.indexOf(QStringLiteral("*/"), i + 2);
            i = j < 0 ? n : j + 2;
        } else if (QStringView(text).mid(i).startsWith(term)) {
            flush();
            i += term.size();
        } else {
            cur += c;
            ++i;
        }
    }
    flush();
    return out;
}

void runScriptIn(Transaction& tr, const QString& text) {
    Connection& db = *tr.database();
    for (const QString& stmt : splitScript(text)) {
        const QByteArray sql = toCp1251(stmt);
        Status st;
        db.handle()->execute(st.get(), tr.ensure(), unsigned(sql.size()), sql.constData(), unsigned(db.dialect),
                             nullptr, nullptr, nullptr, nullptr);
        st.check();
    }
}

void runScript(Connection& db, const QString& text) {
    // Executed as they stand: PSQL bodies may hold ":variable" references.
    Transaction tr(&db);
    for (const QString& stmt : splitScript(text)) {
        const QByteArray sql = toCp1251(stmt);
        Status st;
        db.handle()->execute(st.get(), tr.ensure(), unsigned(sql.size()), sql.constData(), unsigned(db.dialect),
                             nullptr, nullptr, nullptr, nullptr);
        st.check();
        tr.commit();
    }
}

}  // namespace fb
