#include "app/ShowResult.h"

#include "office/Spreadsheet.h"
#include "widgets/Messages.h"

#include <QDir>

namespace app {

void ShowResult(office::Spreadsheet& xl) {
    if (xl.release()) return;
    widgets::showMessage(QStringLiteral("Не удалось открыть файл в программе для работы с таблицами.\rФайл сохранён: %1")
                             .arg(QDir::toNativeSeparators(xl.outputPath())));
}

}  // namespace app
