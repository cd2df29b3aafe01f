#include "support/Pdf.h"

#include <QProcess>
#include <QStandardPaths>

namespace support {

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

bool havePdfTools() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

QStringList pdfPages(const QString& file) {
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                          QStringLiteral("UTF-8"), file, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();  // after the last page
    return pages;
}

QString pdfInfo(const QString& file, const QString& field) {
    for (const QString& line : run(QStringLiteral("pdfinfo"), {file}).split(QLatin1Char('\n')))
        if (line.startsWith(field + QLatin1Char(':'))) return line.mid(field.size() + 1).trimmed();
    return {};
}

}  // namespace support
