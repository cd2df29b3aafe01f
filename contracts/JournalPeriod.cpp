#include "contracts/JournalPeriod.h"

#include "rtl/Convert.h"

QStringList journalPeriodNames() {
    return {QStringLiteral("10 ДНЕЙ"), QStringLiteral("30 ДНЕЙ"), QStringLiteral("МЕСЯЦ"), QStringLiteral("ГОД"),
            QStringLiteral("ВСЕ")};
}

JournalPeriod journalPeriod(int index, const QDate& today) {
    const QString y = QString::number(today.year());
    const QString m = QString::number(today.month());
    switch (index) {
    case kPeriod10Days: return {today.addDays(-10), today};
    case kPeriod30Days: return {today.addDays(-30), today};
    case kPeriodMonth:
        return {rtl::StrToDate(QStringLiteral("01.") + m + u'.' + y),
                rtl::StrToDate(QString::number(today.daysInMonth()) + u'.' + m + u'.' + y)};
    case kPeriodYear:
        return {rtl::StrToDate(QStringLiteral("01.01.") + y), rtl::StrToDate(QStringLiteral("31.12.") + y)};
    default:
        return {rtl::StrToDate(QStringLiteral("01.01.1900")), rtl::StrToDate(QStringLiteral("31.12.3000"))};
    }
}
