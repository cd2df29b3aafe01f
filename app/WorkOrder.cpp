#include "app/WorkOrder.h"

#include "app/DM.h"
#include "app/OrderPaid.h"
#include "app/SchemaUpgrade.h"
#include "rtl/Convert.h"

namespace app {

namespace {

// A money value of the database (NUMERIC or DOUBLE) as the editor shows it.
QString money(const fb::Field& f) { return f.isNull() ? QString() : rtl::FloatToStr(f.asFloat()); }

// Sums a line into `total` as the editor does: price times quantity in
// fixed point; a sum too large for it is shown as a plain number.
QString addLine(double price, qint64 quantity, rtl::Money& total, bool& exact) {
    const double product = price * double(quantity);
    if (!rtl::Money::fits(product)) {
        exact = false;
        return rtl::FloatToStr(product);
    }
    const rtl::Money sum = rtl::Money::fromDouble(product);
    try {
        if (exact) total += sum;
    } catch (const rtl::MoneyRangeError&) {
        exact = false;
    }
    return sum.toString();
}

}  // namespace

int contractKeyByNumber(const QString& number) {
    bool ok = false;
    const qint64 n = number.trimmed().toLongLong(&ok);
    if (!ok) return -1;
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, QStringLiteral("SELECT pk_id FROM Contracts WHERE num = :num ORDER BY pk_id"));
    q.setInteger(QStringLiteral("num"), n);
    q.open();
    const int key = q.eof() ? -1 : q.field(0).asInteger();
    q.close();
    return key;
}

WorkOrder readWorkOrder(int key) {
    WorkOrder o;
    o.key = key;
    const bool step1 = hasSchema(1), step3 = hasSchema(3);
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, QStringLiteral("SELECT ct.*, cr.*, cr.km AS car_km FROM Contracts ct "
                                 "LEFT JOIN Cars cr ON ct.cr_fk = cr.pk_id WHERE ct.pk_id = :pk_id"));
    q.setInteger(QStringLiteral("pk_id"), key);
    q.open();
    if (q.eof()) {
        q.close();
        throw rtl::ConvertError(QStringLiteral("Договор не найден (ключ %1)").arg(key));
    }
    auto f = [&q](const char* name) { return q.field(QString::fromLatin1(name)).asString().trimmed(); };
    o.number = f("num");
    o.date = f("c_date");
    o.mechanic = f("meh");
    o.remark = f("rem");
    o.customer = f("owner");
    o.phone = f("phone");
    o.make = f("dev");
    o.model = f("mod");
    o.year = f("d_year");
    o.plate = f("gnum");
    o.region = f("region");
    o.vin = f("vin");
    o.color = f("color");
    o.engine = (f("engine") + u' ' + f("engine2")).trimmed();
    o.body = (f("body") + u' ' + f("body2")).trimmed();
    // The contract's own mileage: "km" names the contract's column first.
    if (step1) o.km = f("km");
    if (step3) {
        o.deadline = f("deadline");
        o.doneDate = f("done_date");
        o.accepted = f("accepted");
        o.address = f("cust_address");
        o.carValue = money(q.field(QStringLiteral("car_value")));
        o.extraRule = f("extra_rule");
        o.extraLimit = money(q.field(QStringLiteral("extra_limit")));
        o.acceptNote = f("accept_note");
    }
    q.close();

    rtl::Money works, spares;
    bool worksExact = true, sparesExact = true;
    double worksRough = 0, sparesRough = 0;
    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Works WHERE ct_fk = :ct_fk"));
    q.setInteger(QStringLiteral("ct_fk"), key);
    q.open();
    for (; !q.eof(); q.next()) {
        const double price = q.field(QStringLiteral("price")).asFloat();
        worksRough += price;
        const QString sum = addLine(price, 1, works, worksExact);
        o.works.push_back({q.field(QStringLiteral("name")).asString(), rtl::FloatToStr(price), sum});
    }
    q.close();

    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Spares WHERE ct_fk = :ct_fk"));
    q.setInteger(QStringLiteral("ct_fk"), key);
    q.open();
    for (; !q.eof(); q.next()) {
        const double price = q.field(QStringLiteral("price")).asFloat();
        const qint64 quantity = q.field(QStringLiteral("num")).asInteger();
        sparesRough += price * double(quantity);
        const QString sum = addLine(price, quantity, spares, sparesExact);
        o.spares.push_back({q.field(QStringLiteral("name")).asString(),
                            step3 ? q.field(QStringLiteral("art")).asString() : QString(),
                            step3 ? q.field(QStringLiteral("maker")).asString() : QString(),
                            rtl::FloatToStr(double(quantity)), rtl::FloatToStr(price), sum});
    }
    q.close();

    if (step3) {
        TDM::reset(q, QStringLiteral("SELECT name, quantity, note FROM Ct_Own WHERE ct_fk = :ct_fk ORDER BY pk_id"));
        q.setInteger(QStringLiteral("ct_fk"), key);
        q.open();
        for (; !q.eof(); q.next()) o.own.push_back({q.field(0).asString(), q.field(1).asString(), q.field(2).asString()});
        q.close();
    }

    o.worksTotal = worksExact ? works.toString() : rtl::FloatToStr(worksRough);
    o.sparesTotal = sparesExact ? spares.toString() : rtl::FloatToStr(sparesRough);
    // The grand total as the editor adds its two totals.
    const double total = rtl::StrToFloat(o.worksTotal) + rtl::StrToFloat(o.sparesTotal);
    o.total = rtl::FloatToStr(total);
    o.paid = paidForContract(key);
    if (o.paid && rtl::Money::fits(total)) o.due = rtl::Money::fromUnits(rtl::Money::fromDouble(total).units() - o.paid->units());
    return o;
}

QString extraRuleText(const WorkOrder& o) {
    if (o.extraRule == QStringLiteral("ВЫПОЛНЯТЬ ДО СУММЫ"))
        return QStringLiteral("выполнять без согласования до суммы %1 руб.")
            .arg(o.extraLimit.isEmpty() ? QString(12, u'_') : o.extraLimit);
    if (o.extraRule == QStringLiteral("СОГЛАСОВАТЬ ПО ТЕЛЕФОНУ"))
        return QStringLiteral("согласовать с заказчиком по телефону до выполнения");
    if (o.extraRule == QStringLiteral("НЕ ВЫПОЛНЯТЬ")) return QStringLiteral("не выполнять");
    return o.extraRule;
}

}  // namespace app
