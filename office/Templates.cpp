#include "office/Templates.h"
#include "rtl/ProgramFolder.h"
#include "office/Workbook.h"

#include <QDir>

namespace office {

QString formsDir()
{
    // The program folder as start-up sees it (tests point it elsewhere).
    return rtl::inProgramFolder(QStringLiteral("Forms"));
}

QString formPath(const QString& file)
{
    return QDir(formsDir()).filePath(file);
}

QString namedCell(const Workbook& book, const char* name)
{
    QString text = book.definedName(QString::fromLatin1(name));
    const qsizetype bang = text.lastIndexOf(u'!');
    if (bang >= 0)
        text = text.mid(bang + 1);
    return text.remove(u'$').remove(u'=').trimmed();
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
