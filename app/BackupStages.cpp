#include "app/BackupStages.h"

#include <QRegularExpression>

namespace app {

namespace {

struct Table {
    const char* name;
    const char* caption;
};

// The shop's tables in the order a clerk reads them.
const Table kTables[] = {
    {"CONTRACTS", "Договоры"},
    {"CT_WORKS", "Работы по договорам"},
    {"CT_SPARES", "Запчасти по договорам"},
    {"CARS", "Машины"},
    {"WORKS", "Виды работ"},
    {"SPARES", "Запасные части"},
    {"MEH", "Механики"},
    {"DEV", "Марки"},
    {"MODELS", "Модели"},
    {"ENGINES", "Двигатели"},
    {"ENGINE_SP", "Спецификации двигателей"},
    {"BODY", "Кузова"},
    {"BODY_SP", "Спецификации кузовов"},
    {"CT_OWN", "Запчасти заказчика"},
    {"PAYMENTS", "Платежи"},
    {"SETTINGS", "Настройки"},
    {"CAR_VISITS", "Визиты машин"},
    {"CHANGE_LOG", "Журнал изменений"},
    {"SCHEMA_VERSION", "Версии схемы"},
};

}  // namespace

QString tableCaption(const QString& table) {
    for (const Table& t : kTables)
        if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) return QString::fromUtf8(t.caption);
    return table;
}

int tableOrder(const QString& table) {
    int i = 0;
    for (const Table& t : kTables) {
        if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) return i;
        ++i;
    }
    return i;
}

StageReader::StageReader(Run run, int from, int to, Progress progress)
    : run_(run), from_(from), to_(to), progress_(std::move(progress)) {}

void StageReader::report(double share, const QString& stage) {
    if (progress_) progress_(from_ + int((to_ - from_) * share), stage);
}

void StageReader::line(const QString& text) {
    static const QRegularExpression tableRe(QStringLiteral("(?:writing|restoring) table (\\S+)"));
    static const QRegularExpression dataRe(QStringLiteral("(?:writing|restoring) data for table (\\S+)"));
    static const QRegularExpression mbRe(QStringLiteral("^(\\d+) MB$"));
    // The data is the most of a run: a tenth before it, a tenth after.
    const auto dataShare = [this] { return 0.1 + 0.8 * done_ / qMax(tables_, done_ + 1); };
    if (const auto m = dataRe.match(text); m.hasMatch()) {
        const QString verb = run_ == Run::Backup ? QStringLiteral("Копирование") : QStringLiteral("Восстановление");
        report(dataShare(), QStringLiteral("%1: %2").arg(verb, tableCaption(m.captured(1))));
        ++done_;
    } else if (done_ == 0 && tableRe.match(text).hasMatch()) {
        ++tables_;
        report(0.05, QStringLiteral("Описание таблиц"));
    } else if (const auto mb = mbRe.match(text.trimmed()); mb.hasMatch()) {
        report(0.5, QStringLiteral("Получено с сервера: %1 МБ").arg(mb.captured(1)));
    } else if (run_ == Run::Restore && text.contains(QLatin1String("creating deferred index"))) {
        report(qMax(dataShare(), 0.9), QStringLiteral("Построение индексов"));
    } else if (text.contains(QLatin1String("finishing")) || text.contains(QLatin1String("closing file"))) {
        report(1.0, QStringLiteral("Завершение"));
    }
}

}  // namespace app
