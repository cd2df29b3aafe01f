#pragma once
// The periods of the journal's "ПЕРИОД" box and the dates they span.
#include <QDate>
#include <QStringList>

enum JournalPeriodIndex { kPeriod10Days = 0, kPeriod30Days, kPeriodMonth, kPeriodYear, kPeriodAll };

struct JournalPeriod {
    QDate d1, d2;  // both days included
};

QStringList journalPeriodNames();  // "10 ДНЕЙ", "30 ДНЕЙ", "МЕСЯЦ", "ГОД", "ВСЕ"
JournalPeriod journalPeriod(int index, const QDate& today);
