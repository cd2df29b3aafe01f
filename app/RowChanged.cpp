#include "app/RowChanged.h"

#include "app/DM.h"
#include "app/RowGone.h"

namespace app {

QString rowChangedText(const QStringList& captions, const QStringList& shown, const QStringList& stored) {
    QStringList changed;
    for (qsizetype i = 0; i < stored.size() && i < captions.size(); ++i)
        if (i >= shown.size() || shown[i] != stored[i])
            changed << QStringLiteral("%1: «%2»").arg(captions[i], stored[i]);
    QString text = QStringLiteral("Запись изменена на другом рабочем месте. Ничего не записано.");
    if (!changed.isEmpty()) text += QStringLiteral("\nСейчас записано: ") + changed.join(QStringLiteral("; ")) + u'.';
    return text + QStringLiteral("\nВведённое осталось на экране: сохраните ещё раз, чтобы записать его, "
                                 "или нажмите Esc, чтобы увидеть записанное.");
}

void requireUnchanged(const QString& select, const QString& key, const ShownRow& shown,
                      const std::function<QStringList(const fb::Query&)>& texts, const QStringList& captions,
                      const std::function<void()>& refresh) {
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, select);
    q.setString(QStringLiteral("pk_id"), key);
    q.open();
    const bool found = !q.eof();
    const QStringList stored = found ? texts(q) : QStringList();
    q.close();
    if (!found) {
        if (refresh) refresh();
        throw RowGone(rowGoneText());
    }
    const QStringList& was = shown.key == key ? shown.texts : QStringList();
    if (shown.key != key || stored != was) throw RowChanged(rowChangedText(captions, was, stored), stored);
}

}  // namespace app
