#include "app/ShowResult.h"

#include "office/Spreadsheet.h"
#include "widgets/Messages.h"

#include <QDir>

namespace app {

namespace {

void tellWhereItIs(const QString& path) {
    widgets::showMessage(QStringLiteral("Не удалось открыть файл в программе для работы с таблицами.\rФайл сохранён: %1")
                             .arg(QDir::toNativeSeparators(path)));
}

}  // namespace

void ShowResult(office::Spreadsheet& xl) {
    if (!xl.release(tellWhereItIs)) tellWhereItIs(xl.outputPath());
}

}  // namespace app
