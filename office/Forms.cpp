#include "office/Forms.h"
#include "office/Workbook.h"

#include <QCoreApplication>
#include <QDir>

namespace office {

QString formsDir()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Forms"));
}

QString formPath(const QString& file)
{
    return QDir(formsDir()).filePath(file);
}

int card::fitWorkLines(Workbook& book, int count)
{
    return book.fitSection(QString::fromUtf8(WorkSection), count);
}

int card::fitSpareLines(Workbook& book, int count)
{
    return book.fitSection(QString::fromUtf8(SpareSection), count);
}

} // namespace office
