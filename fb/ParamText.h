#pragma once
// Named parameters (":name") in statement text become positional "?" markers.
#include <QString>
#include <QStringList>

namespace fb {

struct ParamText {
    QString sql;         // the text with every :name replaced by ?
    QStringList names;   // one entry per ?, upper-cased; a name may repeat
};

// Text inside single or double quotes and inside comments is left untouched.
ParamText translateParams(const QString& text);

}  // namespace fb
