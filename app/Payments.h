#pragma once
// The payments of a contract: what was paid (refunds subtracted), the list,
// taking and deleting a payment with their checks. Every window and report
// that shows paid or due reads them through the expressions here, so they
// agree to the kopeck.
//
// Amounts are exact: NUMERIC(18,2) in the database, rtl::Money here. A
// refund is a row of method "ВОЗВРАТ" with a positive amount.
#include "rtl/Money.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fb { class Query; }

namespace app {

QString refundMethod();          // "ВОЗВРАТ"
QStringList paymentMethods();    // "НАЛИЧНЫЕ", "КАРТА", "ПЕРЕВОД", "ВОЗВРАТ"

// SQL expressions for the contract whose key is the SQL text `ctKey`
// (e.g. "ct.pk_id"): what was paid, NUMERIC(18,2), and the total of its
// lines, NUMERIC(18,4) (each line's price × quantity rounded to 1/10000 as
// the editor's totals are). Neither is NULL.
QString paidSql(const QString& ctKey);
QString totalSql(const QString& ctKey);
// A NUMERIC column of a query as money (exact).
rtl::Money moneyOf(const fb::Query& q, const QString& column);

rtl::Money paidOf(int contract);
rtl::Money totalOf(int contract);
// What was paid for `contract` and what is due; no due when one of its
// lines is past the money limit (shown blank, as the editor does).
struct PaidDue {
    rtl::Money paid;
    std::optional<rtl::Money> due;
};
PaidDue paidDueOf(int contract);
// Whether the contract has any payment (refunds included).
bool hasPayments(int contract);

// A difference of two amounts within the money limit (throws past it).
rtl::Money minus(rtl::Money a, rtl::Money b);
bool less(rtl::Money a, rtl::Money b);

enum class PayState { None, Partial, Paid, Over };
PayState payState(rtl::Money total, rtl::Money paid);
QString payStateText(PayState s);  // "НЕ ОПЛАЧЕН", "ЧАСТИЧНО", "ОПЛАЧЕН", "ПЕРЕПЛАТА"

struct Payment {
    int id = 0;
    QDate date;
    QString method;
    rtl::Money amount;  // as stored: positive, a refund too
    QString note;
    QString createdBy;
    QDateTime createdAt;
};
std::vector<Payment> paymentsOf(int contract);  // by date, then as written

// An amount typed in rubles and kopecks ("1500", "1500,5", "1 500,50"):
// refused with a message naming `field` when empty, not a number, zero or
// negative, with more than two decimals, or past the money limit.
rtl::Money parseAmount(const QString& text, const QString& field = QStringLiteral("Сумма"));

struct NewPayment {
    int contract = 0;
    QDate date;
    rtl::Money amount;
    QString method;
    QString note;
};
// Every field of a payment checked before anything is written; throws
// rtl::ConvertError (or fb::EncodingError for the note) naming the field.
NewPayment checkPayment(int contract, const QString& amount, const QString& method, const QString& date,
                        const QString& note);

// Whether taking `p` would make the paid sum exceed the contract's total.
bool wouldOverpay(const NewPayment& p);
// Writes the payment in a unit of its own with the contract held: a
// contract gone meanwhile throws app::RowGone, a refund past what was paid
// throws rtl::ConvertError; nothing is written then. Returns the new key.
int addPayment(const NewPayment& p);
// Deletes payment `id` of `contract`; a payment gone meanwhile throws
// app::RowGone; a deletion that would leave refunds above what was paid is
// refused (rtl::ConvertError).
void deletePayment(int contract, int id);

// The refusal of a contract's deletion while it has payments.
QString contractHasPaymentsText();  // "По договору есть оплаты. Сначала удалите оплаты."

}  // namespace app
