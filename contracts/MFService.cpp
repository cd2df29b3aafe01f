// The main window's menu "Сервис": a checked backup of the database in use,
// and a checked restore of a backup into a new database file.
#include "app/BackupCheck.h"
#include "app/CopyRecord.h"
#include "app/DM.h"
#include "app/PathFile.h"
#include "contracts/MF.h"
#include "fb/Error.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>

namespace {

// A progress window without a cancel button: a bar and the stage in words,
// while the service runs on this thread.
class Progress {
public:
    Progress(QWidget* owner, const QString& caption) : dialog_(caption, QString(), 0, 100, owner) {
        dialog_.setObjectName(QStringLiteral("BackupProgress"));
        dialog_.setWindowTitle(caption);
        dialog_.setCancelButton(nullptr);
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setMinimumDuration(0);
        dialog_.setMinimumWidth(520);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
        dialog_.show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    app::Progress steps() {
        return [this](int percent, const QString& stage) {
            dialog_.setValue(qBound(0, percent, 100));
            dialog_.setLabelText(stage);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
    }

private:
    QProgressDialog dialog_;
};

QString documentsFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}

}  // namespace

void TMF::N41Click() {
    if (!DM->IBDbase.connected()) throw fb::Error(QStringLiteral("Database not assigned"));
    const QString proposed = QDir(documentsFolder())
                                 .filePath(QStringLiteral("torquil-%1.fbk")
                                               .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmm"))));
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Резервная копия базы данных"), proposed,
                                                      QStringLiteral("Резервные копии (*.fbk);;Все файлы (*)"));
    if (file.isEmpty()) return;
    app::CopyCheck check;
    {
        Progress progress(this, QStringLiteral("Резервная копия базы данных"));
        check = app::backupDatabase(DM->IBDbase.databaseName, file, progress.steps());
    }
    if (check.ok())
        widgets::showMessage(QStringLiteral("Копия сохранена и проверена\r%1\r\r%2").arg(file, check.report()));
    else
        widgets::showError(QStringLiteral("Копия не прошла проверку и не сохранена: число строк не совпадает.\r"
                                          "Прежний файл %1 не изменён.\r\r%2")
                               .arg(file, check.report()));
}

void TMF::N42Click() {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Восстановление из копии"), documentsFolder(),
                                                      QStringLiteral("Резервные копии (*.fbk);;Все файлы (*)"));
    if (file.isEmpty()) return;
    const QString target = QFileDialog::getSaveFileName(
        this, QStringLiteral("Новый файл базы данных"),
        QDir(QFileInfo(file).absolutePath()).filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".fdb")),
        QStringLiteral("Базы данных (*.fdb);;Все файлы (*)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (target.isEmpty()) return;
    if (QFileInfo::exists(target)) {
        widgets::showMessage(QStringLiteral("Файл %1 уже существует.\rВосстановление пишет только в новый файл.").arg(target));
        return;
    }
    app::CopyCheck check;
    {
        Progress progress(this, QStringLiteral("Восстановление из копии"));
        check = app::restoreDatabase(file, target, progress.steps());
    }
    if (!check.ok()) {
        widgets::showError(QStringLiteral("База данных не восстановлена: в ней не те строки, что в копии.\r"
                                          "Неполная база удалена.\r%1\r\r%2")
                               .arg(target, check.report()));
        return;
    }
    if (check.verified)
        widgets::showMessage(QStringLiteral("База данных восстановлена и проверена\r%1\r\r%2\r\r%3")
                                 .arg(target, check.report(), app::switchDatabaseAdvice(target)));
    else
        widgets::showMessage(QStringLiteral("База данных восстановлена, но её содержимое проверить нельзя: "
                                            "рядом с копией нет файла %1 с описанием копии.\r%2\r\r%3\r\r%4")
                                 .arg(QFileInfo(app::recordPath(file)).fileName(), target, check.report(),
                                      app::switchDatabaseAdvice(target)));
}
