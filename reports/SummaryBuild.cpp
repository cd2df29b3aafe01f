#include "reports/SummaryBuild.h"

#include "app/DM.h"
#include "app/FormShopHeader.h"
#include "app/ShopDetails.h"
#include "office/Templates.h"
#include "office/Spreadsheet.h"
#include "app/ShowResult.h"

namespace reports {

namespace {

QString cellName(char column, int row) { return QChar::fromLatin1(column) + QString::number(row); }

}  // namespace

rtl::Money ContractAmount(const QString& key) {
    rtl::Money amount;
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Works WHERE ct_fk = :ct_fk"));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    for (; !q.eof(); q.next()) amount += rtl::Money::fromDouble(q.field(QStringLiteral("price")).asFloat());
    q.close();
    q.clearSQL();

    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Spares WHERE ct_fk = :ct_fk"));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    for (; !q.eof(); q.next())
        amount += rtl::Money::times(q.field(QStringLiteral("price")).asFloat(), q.field(QStringLiteral("num")).asInt64());
    q.close();
    return amount;
}

bool BuildSummary(const SummaryPeriod& period) {
    using namespace office;
    fb::Query& q = DM->iSQL;
    if (period.oneDay) {
        TDM::reset(q, QStringLiteral("SELECT * FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id WHERE  "
                                     "(c_date = :d1) ORDER BY Num"));
        q.setDate(QStringLiteral("d1"), period.d1);
    } else {
        TDM::reset(q, QStringLiteral("SELECT * FROM Contracts ct INNER JOIN Cars cr ON ct.cr_fk = cr.pk_id WHERE  "
                                     "(c_date BETWEEN :d1 AND :d2) ORDER BY Num"));
        q.setDate(QStringLiteral("d1"), period.d1);
        q.setDate(QStringLiteral("d2"), period.d2);
    }
    q.open();
    if (q.recordCount() == 0) {
        q.close();
        return false;
    }

    Spreadsheet xl;
    office::Workbook& book = xl.workbooksOpen(formPath(QString::fromLatin1(summary::File)));
    xl.run(QString::fromLatin1(summary::CleanForm));
    xl.setVisible(true);
    const app::FormShopHeader header(book, app::shopDetails(), QString::fromLatin1(summary::ShopName));
    xl.range(summary::Period).setValue(period.text);

    rtl::Money total;
    int r = summary::FirstRow;
    for (; !q.eof(); q.next(), ++r) {
        xl.range(cellName('A', r)).setValue(double(q.field(QStringLiteral("num")).asInteger()));
        xl.range(cellName('B', r)).setValue(q.field(QStringLiteral("c_date")).asString());
        xl.range(cellName('C', r))
            .setValue(q.field(QStringLiteral("Dev")).asString() + u' ' + q.field(QStringLiteral("mod")).asString());
        xl.range(cellName('D', r)).setValue(q.field(QStringLiteral("owner")).asString());
        xl.range(cellName('E', r)).setValue(q.field(QStringLiteral("phone")).asString());
        const rtl::Money amount = ContractAmount(q.field(QStringLiteral("pk_id")).asString());
        xl.range(cellName('F', r)).setValue(amount.toDouble());
        total += amount;
    }
    q.close();

    xl.range(QStringLiteral("A%1:F%2").arg(summary::FirstRow).arg(r - 1)).select();
    xl.run(QString::fromLatin1(summary::Lines));
    xl.range(cellName('F', r)).setValue(total.toDouble());
    xl.range(cellName('E', r)).setValue(QString::fromUtf8(summary::TotalLabel));
    // The template is not saved: the user gets a fresh file of the result.
    xl.setOutputStem(QStringLiteral("Свод"));
    app::ShowResult(xl);
    return true;
}

}  // namespace reports
