#pragma once
// A test that cannot run on this machine (a package or a program missing)
// skips with the reason, except under CI (CI=true): there every test must run,
// and a skip would let the run pass without it, so it fails instead.
#include <QtTest>

namespace support {

inline bool underCi() {
    const QString ci = qEnvironmentVariable("CI").trimmed();
    return ci.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || ci == QLatin1String("1");
}

}  // namespace support

#define SKIP_OR_FAIL_UNDER_CI(reason)                                                     \
    do {                                                                                  \
        const QString reason_ = (reason);                                                 \
        if (support::underCi()) QFAIL(qPrintable(reason_ + QStringLiteral(" (CI=true)"))); \
        QSKIP(qPrintable(reason_));                                                       \
    } while (0)
