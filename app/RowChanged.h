#pragma once
// A row that this workstation is about to update was changed on another one
// since the window showed it. The update checks the row under a lock, in its
// own write unit, against what the window showed when the editing began;
// when they differ nothing is written and RowChanged is thrown. The fields
// keep the clerk's input; the text names what is stored now.
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

namespace fb { class Query; }

namespace app {

// What a window showed of a stored row: its key and the texts of the columns
// it shows, in an order the window chooses. An empty key: nothing shown.
struct ShownRow {
    QString key;
    QStringList texts;
};

class RowChanged : public std::runtime_error {
public:
    RowChanged(const QString& text, const QStringList& stored)
        : std::runtime_error(text.toStdString()), stored_(stored) {}
    // The texts of the row as it is stored now, in the order of ShownRow.
    const QStringList& stored() const { return stored_; }

private:
    QStringList stored_;
};

// The message: what differs, column by column, with its stored text.
QString rowChangedText(const QStringList& captions, const QStringList& shown, const QStringList& stored);

// Inside the update's fb::WriteUnit: reads row `key` with `select`
// (one row by :pk_id, ending in WITH LOCK) and keeps it locked until the unit
// ends; a row another workstation holds fails at once (nowait). `texts` makes
// the row's texts as the window shows them; `captions` names them. A row that
// is gone: `refresh`, then RowGone. A row that differs from `shown` (or a
// `shown` of another key): RowChanged.
void requireUnchanged(const QString& select, const QString& key, const ShownRow& shown,
                      const std::function<QStringList(const fb::Query&)>& texts, const QStringList& captions,
                      const std::function<void()>& refresh);

}  // namespace app
