#include "app/ErrorWords.h"

#include "app/Login.h"
#include "fb/Error.h"
#include "fb/Reconnect.h"
#include "widgets/ErrorDisplay.h"

#include <firebird/Interface.h>

#include <initializer_list>

namespace app {

namespace {

bool anyOf(const fb::Error& e, std::initializer_list<long> codes) {
    for (long c : codes)
        if (e.hasCode(c)) return true;
    return false;
}

}  // namespace

ErrorCondition conditionOf(const fb::Error& e) {
    if (fb::hasLostCodes(e))
        return {QStringLiteral("Нет связи с сервером"), QStringLiteral("Связь с сервером была потеряна."), true};
    if (e.hasCode(isc_instance_conflict))
        return {QStringLiteral("База данных занята другой программой"),
                QStringLiteral("Файл базы данных уже открыт другой программой на этом компьютере. "
                               "Закройте её и попробуйте ещё раз.")};
    if (e.hasCode(isc_update_conflict))
        return {QStringLiteral("Запись изменяют на другом рабочем месте"),
                QStringLiteral("Эту запись в то же время изменили на другом рабочем месте."), true};
    if (e.isRowConflict() || e.hasCode(isc_lock_timeout))
        return {QStringLiteral("Запись занята другим рабочим местом"),
                QStringLiteral("С этими данными сейчас работают на другом рабочем месте."), true};
    if (e.hasCode(isc_no_priv))
        return {QStringLiteral("Нет прав на это действие"),
                isOwner() ? QStringLiteral("Пользователю, под которым работает программа, это действие в базе данных "
                                           "не разрешено.")
                          : QStringLiteral("Приёмщику это действие не разрешено: его выполняет владелец. "
                                           "Ничего не записано.")};
    if (e.text().contains(QLatin1String("No space left on device")))
        return {QStringLiteral("Диск переполнен"), QStringLiteral("На диске с базой данных не осталось места.")};
    if (anyOf(e, {isc_io_open_err, isc_io_access_err, isc_io_read_err, isc_bad_db_format, isc_wrong_ods}))
        return {QStringLiteral("Файл базы данных не найден или не читается"),
                QStringLiteral("Проверьте путь к базе данных и права на её файл.")};
    if (e.hasCode(isc_login))
        return {QStringLiteral("Неверное имя пользователя или пароль"),
                QStringLiteral("Сервер не принял имя пользователя и пароль программы.")};
    return {};
}

QString errorWords(const std::exception& error, const widgets::FailedAction& action) {
    const auto* e = dynamic_cast<const fb::Error*>(&error);
    // Only the engine's errors carry codes; the program's own texts stay.
    if (!e || e->codes().empty()) return QString();
    const ErrorCondition c = conditionOf(*e);
    QString text = action.known() ? action.failed
                   : c.headline.isEmpty() ? QStringLiteral("Ошибка базы данных")
                                          : c.headline;
    QString sentence = c.sentence;
    if (c.retry && !action.unsaved.isEmpty()) sentence += u' ' + action.unsaved;
    if (!sentence.isEmpty()) text += u'\n' + sentence;
    return text + QStringLiteral("\n\n") + e->text();
}

void installErrorWords() { widgets::Application::setErrorWords(&errorWords); }

}  // namespace app
