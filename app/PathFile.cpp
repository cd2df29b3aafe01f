#include "app/PathFile.h"

#include "rtl/ProgramFolder.h"

#include <QFileInfo>

namespace app {

QString pathFileLocation() {
    // The installed program's path.txt is a link to the shop's own file
    // (/etc/torquil/path.txt): that one is named, it is the one to edit.
    const QFileInfo beside(rtl::inProgramFolder(QStringLiteral("path.txt")));
    return beside.isSymLink() ? beside.symLinkTarget() : beside.filePath();
}

QString switchDatabaseAdvice(const QString& database) {
    const QString file = pathFileLocation();
    QString text = QStringLiteral("Чтобы работать с восстановленной базой, закройте программу на всех рабочих местах "
                                  "и запишите первой строкой файла %1 путь:\r%2")
                       .arg(file, database);
    if (!QFileInfo(QFileInfo(file).absolutePath()).isWritable())
        text += QStringLiteral("\rЭтот файл может изменить только администратор компьютера.");
    return text;
}

}  // namespace app
