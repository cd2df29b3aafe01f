#include "app/LoginJournal.h"

#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"

namespace app {

std::vector<QStringList> changeLog(fb::Connection& db, const ChangeFilter& f) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    // A deleted contract's number lives on in its logged values only: the
    // filter by number takes the contract's key from the log's own rows.
    q.setSQL({QStringLiteral("SELECT l.\"AT\", l.user_name, l.table_name, l.row_key, l.ct_fk, l.action,"),
              QStringLiteral(" COALESCE(l.old_values, ''), COALESCE(l.new_values, '')"),
              QStringLiteral("FROM Change_Log l"),
              QStringLiteral("WHERE l.\"AT\" >= :d1 AND l.\"AT\" < :d2"),
              QStringLiteral(" AND (:usr = '' OR l.user_name = :usr)"),
              QStringLiteral(" AND (:num = 0 OR l.ct_fk IN (SELECT c.ct_fk FROM Change_Log c"),
              QStringLiteral("   WHERE c.table_name = 'CONTRACTS' AND (c.new_values STARTING WITH :numtext"),
              QStringLiteral("   OR c.old_values STARTING WITH :numtext)))"),
              QStringLiteral("ORDER BY l.pk_id DESC")});
    q.setDate(QStringLiteral("d1"), f.from);
    q.setDate(QStringLiteral("d2"), f.to.addDays(1));
    q.setString(QStringLiteral("usr"), f.user.trimmed().toUpper());
    q.setInteger(QStringLiteral("num"), f.contractNum);
    q.setString(QStringLiteral("numtext"), QStringLiteral("num=%1;").arg(f.contractNum));
    std::vector<QStringList> rows;
    for (q.open(); !q.eof(); q.next()) {
        QStringList row;
        for (int i = 0; i < 8; ++i) row << q.field(i).asString();
        rows.push_back(row);
    }
    q.close();
    tr.commit();
    return rows;
}

ContractAuthors contractAuthors(fb::Connection& db, int contractKey) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT created_by, created_at, changed_by, changed_at FROM contract_authors(:ct)")});
    q.setInteger(QStringLiteral("ct"), contractKey);
    q.open();
    const fb::RowSet rows = q.takeRows();
    q.close();
    tr.commit();
    ContractAuthors a;
    if (rows.rowCount() > 0) {
        a.createdBy = rows.text(0, 0);
        a.createdAt = rows.dateTime(0, 1);
        a.changedBy = rows.text(0, 2);
        a.changedAt = rows.dateTime(0, 3);
    }
    return a;
}

QString authorsText(const ContractAuthors& a) {
    auto when = [](const QDateTime& t) { return t.toString(QStringLiteral("dd.MM.yyyy H:mm")); };
    QStringList parts;
    if (!a.createdBy.isEmpty()) parts << QStringLiteral("Создал %1 %2").arg(a.createdBy, when(a.createdAt));
    if (!a.changedBy.isEmpty() && (a.changedBy != a.createdBy || a.changedAt != a.createdAt))
        parts << QStringLiteral("%1 %2 %3")
                     .arg(parts.isEmpty() ? QStringLiteral("Изменил") : QStringLiteral("изменил"), a.changedBy,
                          when(a.changedAt));
    return parts.join(QStringLiteral("; "));
}

QString contractNumber(fb::Connection& db, int contractKey) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({QStringLiteral("SELECT num FROM Contracts WHERE pk_id = :pk_id")});
    q.setInteger(QStringLiteral("pk_id"), contractKey);
    q.open();
    const QString number = q.eof() ? QString() : q.field(0).asString();
    q.close();
    tr.commit();
    return number;
}

}  // namespace app
