#include "app/BackupCheck.h"

#include "app/BackupTarget.h"
#include "app/CopyRecord.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/Query.h"
#include "fb/Service.h"
#include "fb/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <utility>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace app {

QMap<QString, qint64> tableCounts(const QString& database) {
    fb::Connection db;
    db.databaseName = database;
    // Every table, as the backup read them.
    db.role = fb::adminRole(database, db.userName);
    db.open();
    QMap<QString, qint64> counts;
    {
        fb::Transaction tr(&db);
        fb::Query q(&db, &tr);
        q.setSQL({QStringLiteral("SELECT TRIM(rdb$relation_name) FROM rdb$relations "
                                 "WHERE COALESCE(rdb$system_flag, 0) = 0 AND rdb$view_blr IS NULL")});
        q.open();
        QStringList tables;
        for (; !q.eof(); q.next()) tables << q.field(0).asString();
        for (const QString& t : tables) {
            // Names come from the engine's own catalogue; quoted as it stores them.
            q.setSQL({QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(QString(t).replace(u'"', QStringLiteral("\"\"")))});
            q.open();
            counts.insert(t, q.field(0).asInt64());
        }
        q.freeStatements();
        tr.commit();
    }
    db.close();
    return counts;
}

bool CopyCheck::ok() const {
    if (tables.isEmpty()) return false;
    for (const TableCheck& t : tables)
        if (t.expected != t.found) return false;
    return true;
}

QString CopyCheck::report() const {
    QStringList lines;
    for (const TableCheck& t : tables) {
        QString line = QStringLiteral("%1  %2").arg(tableCaption(t.table), t.found < 0 ? QStringLiteral("нет") : QString::number(t.found));
        if (t.expected != t.found)
            line += QStringLiteral("  (ожидалось %1)")
                        .arg(t.expected < 0 ? QStringLiteral("нет такой таблицы") : QString::number(t.expected));
        lines << line;
    }
    return lines.join(u'\n');
}

CopyCheck compareCounts(const QMap<QString, qint64>& expected, const QMap<QString, qint64>& found) {
    QSet<QString> names;
    for (auto it = expected.begin(); it != expected.end(); ++it) names.insert(it.key());
    for (auto it = found.begin(); it != found.end(); ++it) names.insert(it.key());
    QStringList sorted(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return std::pair(tableOrder(a), a) < std::pair(tableOrder(b), b);
    });
    CopyCheck check;
    for (const QString& n : sorted) check.tables.append({n, expected.value(n, -1), found.value(n, -1)});
    return check;
}

namespace {

// The rows the backup wrote, from its report: "writing data for table X",
// then "N records written" every 10,000 rows and at the end: the last is
// the table's.
QMap<QString, qint64> countsWritten(const QStringList& lines) {
    static const QRegularExpression tableRe(QStringLiteral("writing data for table (\\S+)"));
    static const QRegularExpression rowsRe(QStringLiteral("(\\d+) records written"));
    QMap<QString, qint64> counts;
    QString table;
    for (const QString& line : lines) {
        if (const auto m = tableRe.match(line); m.hasMatch())
            table = m.captured(1);
        else if (const auto r = rowsRe.match(line); r.hasMatch() && !table.isEmpty())
            counts.insert(table, r.captured(1).toLongLong());
    }
    return counts;
}

QString folderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

// After a failed write: whether the disk of `folder` is full (the partial
// copy still on it).
bool diskFull(const QString& folder, const QString& why) {
    if (why.contains(QLatin1String("No space left"))) return true;
    const QStorageInfo disk(folder);
    return disk.isValid() && disk.bytesAvailable() < 256 * 1024;
}

fb::Error cannotWrite(const QString& file, const QString& why) {
    const QString folder = folderOf(file);
    if (!QFileInfo(folder).isWritable())
        return fb::Error(QStringLiteral("Нельзя сохранить копию %1:\rнет права записи в папку %2.\r"
                                        "Выберите другую папку, например «Документы».")
                             .arg(file, folder));
    return fb::Error(QStringLiteral("Нельзя сохранить копию %1:\r%2").arg(file, why));
}

fb::Error notABackup(const QString& file) {
    return fb::Error(QStringLiteral("Файл %1 не является резервной копией базы данных.").arg(file));
}

// Temporary files beside the copy, removed unless kept: the new copy and its record.
class Beside {
public:
    explicit Beside(const QString& file) {
        copy_ = reserve(file);
        record_ = reserve(file);
    }
    ~Beside() {
        if (kept_) return;
        QFile::remove(copy_);
        QFile::remove(record_);
    }
    const QString& copy() const { return copy_; }
    const QString& record() const { return record_; }
    void keep() { kept_ = true; }

private:
    // A name of its own, held by an empty file until the copy is written under it.
    static QString reserve(const QString& file) {
        QTemporaryFile t(QDir(folderOf(file)).filePath(QStringLiteral(".%1.XXXXXX").arg(QFileInfo(file).fileName())));
        t.setAutoRemove(false);
        if (!t.open()) throw cannotWrite(file, t.errorString());
        return t.fileName();
    }
    QString copy_, record_;
    bool kept_ = false;
};

// Puts `from` in the place of `to` in one step of the file system.
void replaceFile(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw cannotWrite(to, QString::fromLocal8Bit(std::strerror(errno)));
}

// The copy restored into a temporary database of this process's engine:
// its row counts, the database removed again. Any error of the engine throws.
QMap<QString, qint64> countsOfCopy(const QString& file, StageReader& stages) {
    QTemporaryDir dir;
    if (!dir.isValid()) throw fb::Error(QStringLiteral("Нельзя создать временную папку: %1").arg(dir.errorString()));
    const QString probe = dir.filePath(QStringLiteral("check.fdb"));
    {
        fb::Service local(probe);
        local.restore(file, probe, [&stages](const QString& line) { stages.line(line); });
    }
    return tableCounts(probe);
}

}  // namespace

CopyCheck backupDatabase(const QString& database, const QString& file, const Progress& progress) {
    refuseBackupTarget(database, file);
    const QString record = recordPath(file);
    if (QFileInfo::exists(record) && !isRecordFile(record))
        throw fb::Error(QStringLiteral("Рядом с копией будет записан файл %1, а такой файл уже есть.\r"
                                       "Выберите другое имя файла.")
                            .arg(record));
    const bool remote = fb::Connection::isRemotePath(database);
    Beside part(file);
    QMap<QString, qint64> written;
    try {
        StageReader stages(StageReader::Run::Backup, 0, 50, progress);
        fb::Service svc(database);
        written = countsWritten(svc.backup(database, part.copy(), [&stages](const QString& line) { stages.line(line); }));
        syncToDisk(part.copy());
    } catch (const fb::Error& e) {
        if (diskFull(folderOf(file), e.text()))
            throw fb::Error(QStringLiteral("На диске нет места: копия %1 не записана.\r"
                                           "Освободите место в папке %2 или выберите другой диск.")
                                .arg(file, folderOf(file)));
        throw;
    }
    if (progress) progress(50, QStringLiteral("Проверка копии"));
    CopyRecord rec;
    rec.size = QFileInfo(part.copy()).size();
    rec.sha256 = sha256Of(part.copy());
    StageReader stages(StageReader::Run::Restore, 55, 95, progress);
    QMap<QString, qint64> restored;
    try {
        restored = countsOfCopy(part.copy(), stages);
    } catch (const fb::Error& e) {
        throw fb::Error(QStringLiteral("Копия не прошла проверку и не сохранена; прежний файл %1 не изменён.\r\r%2")
                            .arg(file, e.text()));
    }
    // A server sends no report with the copy: there the copy must restore whole.
    rec.counts = remote ? restored : written;
    const CopyCheck check = compareCounts(rec.counts, restored);
    if (!check.ok()) return check;
    writeRecord(part.record(), rec);
    // The older copy's record goes first: a copy without one is only
    // unverified, while a record of other bytes would refuse a good copy.
    QFile::remove(record);
    replaceFile(part.copy(), file);
    replaceFile(part.record(), record);
    part.keep();
    syncToDisk(folderOf(file));
    if (progress) progress(100, QStringLiteral("Готово"));
    return check;
}

CopyCheck restoreDatabase(const QString& file, const QString& database, const Progress& progress) {
    // The copy is read here, also for a server.
    if (!QFileInfo(file).isFile()) throw fb::Error(QStringLiteral("Файл %1 не найден.").arg(file));
    if (fileKind(file) != FileKind::Backup) throw notABackup(file);
    const std::optional<CopyRecord> record = readRecord(recordPath(file));
    if (record) {
        if (progress) progress(0, QStringLiteral("Проверка копии"));
        if (QFileInfo(file).size() != record->size || sha256Of(file) != record->sha256)
            throw fb::Error(QStringLiteral("Копия %1 повреждена: она не совпадает с тем, что было записано "
                                           "при её создании.\rВосстановление не выполнено; возьмите другую копию.")
                                .arg(file));
    }
    fb::Service svc(database);
    try {
        StageReader stages(StageReader::Run::Restore, 5, 90, progress);
        svc.restore(file, database, [&stages](const QString& line) { stages.line(line); });
    } catch (const fb::Error& e) {
        if (e.text().contains(QLatin1String("expected backup description record"))) throw notABackup(file);
        if (e.text().contains(QLatin1String("while reading from backup file")))
            throw fb::Error(QStringLiteral("Копия %1 неполная: она обрывается раньше конца.\r"
                                           "Восстановление не выполнено; возьмите другую копию.")
                                .arg(file));
        throw;
    }
    if (progress) progress(90, QStringLiteral("Проверка базы данных"));
    QMap<QString, qint64> found;
    try {
        found = tableCounts(database);  // where it was written: a server's through the server
    } catch (...) {
        svc.dropDatabase(database);
        throw;
    }
    CopyCheck check = compareCounts(record ? record->counts : found, found);
    check.verified = record.has_value();
    if (!check.ok()) svc.dropDatabase(database);
    if (progress) progress(100, QStringLiteral("Готово"));
    return check;
}

}  // namespace app
