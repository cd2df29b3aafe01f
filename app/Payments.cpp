#include "app/Payments.h"

#include "app/DM.h"
#include "app/PaymentReports.h"
#include "app/RowGone.h"
#include "app/UnitRetry.h"
#include "fb/Cp1251.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "rtl/Convert.h"
#include "widgets/Doing.h"

namespace app {

namespace {

constexpr int kNoteLength = 200;

rtl::Money money(qint64 units) {
    if (units > rtl::Money::kMaxUnits || units < -rtl::Money::kMaxUnits) {
        // Shown as the amount it is; the limit's refusal names it.
        throw rtl::MoneyRangeError(QString::number(units / 10000));
    }
    return rtl::Money::fromUnits(units);
}

fb::Query& scratch() { return DM->iSQL2; }

}  // namespace

QString refundMethod() { return QStringLiteral("ВОЗВРАТ"); }

QStringList paymentMethods() {
    return {QStringLiteral("НАЛИЧНЫЕ"), QStringLiteral("КАРТА"), QStringLiteral("ПЕРЕВОД"), refundMethod()};
}

QString paidSql(const QString& ctKey) {
    return QStringLiteral("COALESCE((SELECT SUM(IIF(p.method = '%1', -p.amount, p.amount)) FROM Payments p "
                          "WHERE p.ct_fk = %2), 0)")
        .arg(refundMethod(), ctKey);
}

QString totalSql(const QString& ctKey) {
    return QStringLiteral("(COALESCE((SELECT SUM(CAST(w.price AS NUMERIC(18,4))) FROM ct_works w "
                          "WHERE w.ct_fk = %1), 0) + "
                          "COALESCE((SELECT SUM(CAST(s.price * s.num AS NUMERIC(18,4))) FROM ct_spares s "
                          "WHERE s.ct_fk = %1), 0))")
        .arg(ctKey);
}

rtl::Money moneyOf(const fb::Query& q, const QString& column) { return money(q.field(column).asScaled(-4)); }

rtl::Money paidOf(int contract) {
    fb::Query& q = scratch();
    TDM::reset(q, QStringLiteral("SELECT %1 AS paid FROM RDB$DATABASE").arg(paidSql(QStringLiteral(":ct"))));
    q.setInteger(QStringLiteral("ct"), contract);
    q.open();
    const rtl::Money paid = moneyOf(q, QStringLiteral("paid"));
    q.close();
    return paid;
}

rtl::Money totalOf(int contract) {
    fb::Query& q = scratch();
    TDM::reset(q, QStringLiteral("SELECT %1 AS total FROM RDB$DATABASE").arg(totalSql(QStringLiteral(":ct"))));
    q.setInteger(QStringLiteral("ct"), contract);
    q.open();
    const rtl::Money total = moneyOf(q, QStringLiteral("total"));
    q.close();
    return total;
}

PaidDue paidDueOf(int contract) {
    if (!contractSumsKept()) {
        const rtl::Money paid = paidOf(contract);
        return {paid, minus(totalOf(contract), paid)};
    }
    fb::Query& q = scratch();
    TDM::reset(q, QStringLiteral("SELECT works_sum, spares_sum, paid_sum FROM Contracts WHERE pk_id = :ct"));
    q.setInteger(QStringLiteral("ct"), contract);
    q.open();
    PaidDue out;
    if (!q.eof()) {
        out.paid = moneyOf(q, QStringLiteral("paid_sum"));
        if (!q.field(QStringLiteral("works_sum")).isNull() && !q.field(QStringLiteral("spares_sum")).isNull())
            out.due = minus(moneyOf(q, QStringLiteral("works_sum")) + moneyOf(q, QStringLiteral("spares_sum")), out.paid);
    }
    q.close();
    return out;
}

bool hasPayments(int contract) {
    fb::Query& q = scratch();
    TDM::reset(q, QStringLiteral("SELECT FIRST 1 pk_id FROM Payments WHERE ct_fk = :ct"));
    q.setInteger(QStringLiteral("ct"), contract);
    q.open();
    const bool any = q.recordCount() > 0;
    q.close();
    return any;
}

rtl::Money minus(rtl::Money a, rtl::Money b) { return money(a.units() - b.units()); }
bool less(rtl::Money a, rtl::Money b) { return a.units() < b.units(); }

PayState payState(rtl::Money total, rtl::Money paid) {
    if (paid.units() <= 0) return PayState::None;
    if (paid.units() < total.units()) return PayState::Partial;
    if (paid.units() == total.units()) return PayState::Paid;
    return PayState::Over;
}

QString payStateText(PayState s) {
    switch (s) {
    case PayState::None: return QStringLiteral("НЕ ОПЛАЧЕН");
    case PayState::Partial: return QStringLiteral("ЧАСТИЧНО");
    case PayState::Paid: return QStringLiteral("ОПЛАЧЕН");
    case PayState::Over: return QStringLiteral("ПЕРЕПЛАТА");
    }
    return QString();
}

std::vector<Payment> paymentsOf(int contract) {
    fb::Query& q = scratch();
    TDM::reset(q, QStringLiteral("SELECT pk_id, p_date, method, amount, note, created_by, created_at FROM Payments "
                                 "WHERE ct_fk = :ct ORDER BY p_date, pk_id"));
    q.setInteger(QStringLiteral("ct"), contract);
    q.open();
    std::vector<Payment> list;
    list.reserve(size_t(q.recordCount()));
    for (q.first(); !q.eof(); q.next()) {
        Payment p;
        p.id = q.field(QStringLiteral("pk_id")).asInteger();
        p.date = q.rows().date(q.row(), q.rows().indexOf(QStringLiteral("p_date")));
        p.method = q.field(QStringLiteral("method")).asString();
        p.amount = moneyOf(q, QStringLiteral("amount"));
        p.note = q.field(QStringLiteral("note")).asString();
        p.createdBy = q.field(QStringLiteral("created_by")).asString();
        p.createdAt = q.rows().dateTime(q.row(), q.rows().indexOf(QStringLiteral("created_at")));
        list.push_back(p);
    }
    q.close();
    return list;
}

rtl::Money parseAmount(const QString& text, const QString& field) {
    QString s = text.trimmed();
    s.remove(u' ');
    s.remove(QChar(0x00A0));
    if (s.isEmpty()) throw rtl::ConvertError(QStringLiteral("Поле «%1» не заполнено.").arg(field));
    const auto notNumber = [&] {
        return rtl::ConvertError(QStringLiteral("%1: «%2» — не число.").arg(field, text.trimmed()));
    };
    bool negative = false;
    int i = 0;
    if (s[0] == u'-' || s[0] == u'+') {
        negative = s[0] == u'-';
        ++i;
    }
    qint64 whole = 0;
    int wholeDigits = 0, fracDigits = 0;
    qint64 frac = 0;
    bool point = false, tooBig = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u',' || c == u'.') {
            if (point) throw notNumber();
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            const int d = c.unicode() - u'0';
            if (point) {
                if (++fracDigits <= 4) frac = frac * 10 + d;
                else if (d != 0) fracDigits = 99;  // more than the kopecks hold
            } else {
                ++wholeDigits;
                if (whole > rtl::Money::kMaxUnits / 10) tooBig = true;
                else whole = whole * 10 + d;
            }
        } else {
            throw notNumber();
        }
    }
    if (wholeDigits == 0 && fracDigits == 0) throw notNumber();
    if (tooBig || whole > rtl::Money::kMaxUnits / 10000) throw rtl::MoneyRangeError(text.trimmed(), field);
    for (int k = std::min(fracDigits, 4); k < 4; ++k) frac *= 10;
    const qint64 units = whole * 10000 + (fracDigits > 4 ? 0 : frac);
    if (units > rtl::Money::kMaxUnits) throw rtl::MoneyRangeError(text.trimmed(), field);
    if (fracDigits > 2 && (fracDigits > 4 || units % 100 != 0))
        throw rtl::ConvertError(QStringLiteral("%1 «%2»: не больше двух знаков после запятой (копейки).")
                                    .arg(field, text.trimmed()));
    if (negative && units != 0)
        throw rtl::ConvertError(QStringLiteral("%1 не может быть отрицательной: «%2».").arg(field, text.trimmed()));
    if (units == 0) throw rtl::ConvertError(QStringLiteral("%1 должна быть больше нуля.").arg(field));
    return rtl::Money::fromUnits(units);
}

NewPayment checkPayment(int contract, const QString& amount, const QString& method, const QString& date,
                        const QString& note) {
    NewPayment p;
    p.contract = contract;
    p.amount = parseAmount(amount);
    p.method = method.trimmed();
    if (!paymentMethods().contains(p.method))
        throw rtl::ConvertError(QStringLiteral("Способ оплаты «%1» не из списка: %2.")
                                    .arg(p.method, paymentMethods().join(QStringLiteral(", "))));
    const QString d = date.trimmed();
    try {
        p.date = rtl::StrToDate(d);
    } catch (const rtl::ConvertError&) {
        throw rtl::ConvertError(QStringLiteral("Дата оплаты «%1» — не дата.").arg(d));
    }
    if (!p.date.isValid()) throw rtl::ConvertError(QStringLiteral("Дата оплаты «%1» — не дата.").arg(d));
    p.note = note.trimmed();
    (void)fb::toCp1251(p.note);  // a character Windows-1251 lacks is refused here
    if (p.note.size() > kNoteLength)
        throw rtl::ConvertError(QStringLiteral("Примечание длиннее %1 знаков.").arg(kNoteLength));
    return p;
}

bool wouldOverpay(const NewPayment& p) {
    if (p.method == refundMethod()) return false;
    const rtl::Money paid = paidOf(p.contract) + p.amount;
    return less(totalOf(p.contract), paid);
}

int addPayment(const NewPayment& p) {
    const widgets::Doing doing(QStringLiteral("Не удалось принять оплату"),
                               QStringLiteral("Оплата не записана — запишите её ещё раз."));
    int id = 0;
    // The insert sets the contract's paid sum in its row (a trigger), which
    // another workstation's payment or save may hold for a moment.
    retryOnRowConflict([&] {
        fb::WriteUnit unit(DM->IBTrans);
        // The contract is held to the end of the unit: a deletion elsewhere waits
        // or fails, and two payments onto it are written one after the other.
        if (!lockRow(QStringLiteral("Contracts"), p.contract)) throw RowGone(contractGoneText());
        const rtl::Money paid = paidOf(p.contract);
        if (p.method == refundMethod() && less(paid, p.amount))
            throw rtl::ConvertError(QStringLiteral("Возврат %1 больше оплаченного (%2).")
                                        .arg(p.amount.toString(), paid.toString()));
        (void)(paid + p.amount);  // the paid sum stays within the money limit
        fb::Query& q = DM->iSQL;
        q.close();
        q.setSQL({QStringLiteral("INSERT INTO Payments (ct_fk, p_date, amount, method, note)"),
                  QStringLiteral("VALUES (:ct, :p_date, :amount, :method, :note) RETURNING pk_id")});
        q.setInteger(QStringLiteral("ct"), p.contract);
        q.setDate(QStringLiteral("p_date"), p.date);
        q.setScaled(QStringLiteral("amount"), p.amount.units() / 100, -2);
        q.setString(QStringLiteral("method"), p.method);
        if (p.note.isEmpty()) q.setNull(QStringLiteral("note"));
        else q.setString(QStringLiteral("note"), p.note);
        q.open();
        id = q.field(QStringLiteral("pk_id")).asInteger();
        q.close();
        unit.commit();
    });
    return id;
}

void deletePayment(int contract, int id) {
    const widgets::Doing doing(QStringLiteral("Не удалось удалить оплату"),
                               QStringLiteral("Оплата не удалена — удалите её ещё раз."));
    retryOnRowConflict([&] {
        fb::WriteUnit unit(DM->IBTrans);
        if (!lockRow(QStringLiteral("Contracts"), contract)) throw RowGone(contractGoneText());
        rtl::Money paid;
        rtl::Money gone;
        bool found = false;
        for (const Payment& p : paymentsOf(contract)) {
            if (p.id == id) {
                found = true;
                gone = p.amount;
                if (p.method == refundMethod()) gone = minus(rtl::Money(), p.amount);
            }
        }
        if (!found) throw RowGone(rowGoneText());
        paid = paidOf(contract);
        if (less(minus(paid, gone), rtl::Money()))
            throw rtl::ConvertError(QStringLiteral("Без этой оплаты возвраты превысят оплаченное. Сначала удалите возврат."));
        fb::Query& q = DM->iSQL;
        TDM::reset(q, QStringLiteral("DELETE FROM Payments WHERE pk_id = :pk_id"));
        q.setInteger(QStringLiteral("pk_id"), id);
        DM->execCommit(q);
        if (q.rowsAffected() == 0) throw RowGone(rowGoneText());
        unit.commit();
    });
}

QString contractHasPaymentsText() { return QStringLiteral("По договору есть оплаты. Сначала удалите оплаты."); }

}  // namespace app
