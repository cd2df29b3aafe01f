#include "reports/SummaryPrint.h"

#include "app/DM.h"
#include "app/OwnerSchema.h"
#include "app/ShopDetails.h"
#include "print/ListDocument.h"
#include "print/Preview.h"
#include "widgets/Messages.h"

namespace reports {

print::Document SummaryDocument(const SummaryPeriod& period) {
    const bool paid = app::hasContractSums();
    fb::Query& q = DM->iSQL;
    const QString columns = QStringLiteral("ct.pk_id, ct.num, ct.c_date, cr.dev, cr.mod, cr.owner, cr.phone") +
                            (paid ? QStringLiteral(", CAST(ct.paid_sum * 100 AS BIGINT) AS paid_kop") : QString());
    const QString where = period.oneDay ? QStringLiteral("ct.c_date = :d1") : QStringLiteral("ct.c_date BETWEEN :d1 AND :d2");
    TDM::reset(q, QStringLiteral("SELECT %1 FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id WHERE %2 "
                                 "ORDER BY ct.num")
                      .arg(columns, where));
    q.setDate(QStringLiteral("d1"), period.d1);
    if (!period.oneDay) q.setDate(QStringLiteral("d2"), period.d2);
    q.open();
    std::vector<QStringList> rows;
    rtl::Money total, paidTotal, dueTotal;
    for (; !q.eof(); q.next()) {
        const rtl::Money amount = ContractAmount(q.field(QStringLiteral("pk_id")).asString());
        total += amount;
        QStringList row{q.field(QStringLiteral("num")).asString(), q.field(QStringLiteral("c_date")).asString(),
                        (q.field(QStringLiteral("dev")).asString() + u' ' + q.field(QStringLiteral("mod")).asString()).trimmed(),
                        q.field(QStringLiteral("owner")).asString(), q.field(QStringLiteral("phone")).asString(),
                        amount.toString()};
        if (paid) {
            const rtl::Money in = rtl::Money::fromUnits(q.field(QStringLiteral("paid_kop")).asInt64() * 100);
            const rtl::Money due = amount + rtl::Money::fromUnits(-in.units());
            paidTotal += in;
            dueTotal += due;
            row << in.toString() << due.toString();
        }
        rows.push_back(row);
    }
    q.close();
    std::vector<print::Column> cols = {{QStringLiteral("№"), Qt::AlignRight, 8},     {QStringLiteral("Дата"), Qt::AlignLeft, 12},
                                       {QStringLiteral("Автомобиль")},               {QStringLiteral("Владелец")},
                                       {QStringLiteral("Телефон"), Qt::AlignLeft, 14}, {QStringLiteral("Сумма"), Qt::AlignRight, 13}};
    QStringList totals{QString(), QString(), QString(), QString(), QStringLiteral("ИТОГО"), total.toString()};
    if (paid) {
        cols.push_back({QStringLiteral("Оплачено"), Qt::AlignRight, 13});
        cols.push_back({QStringLiteral("К оплате"), Qt::AlignRight, 13});
        totals << paidTotal.toString() << dueTotal.toString();
    }
    print::Document d = print::listDocument(QStringLiteral("Итоговый свод договоров"), period.text, std::move(cols),
                                            std::move(rows), {totals});
    d.runningHead = app::shopDetails().headLine();
    return d;
}

bool PrintSummary(const SummaryPeriod& period, QWidget* parent) {
    const print::Document d = SummaryDocument(period);
    if (std::get<print::Table>(d.blocks.back()).rows.empty()) {
        widgets::showMessage(QStringLiteral("За этот период договоров нет."));
        return false;
    }
    print::preview(d, parent);
    return true;
}

}  // namespace reports
