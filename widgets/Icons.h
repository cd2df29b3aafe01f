#pragma once
// The pictures of the tool buttons and picture buttons, drawn in code so that
// every machine shows the same ones.
#include <QIcon>

namespace widgets {

enum class Glyph {
    NewDocument, EditDocument, ViewDocument, Print, Save, Close, Exit,
    Car, Works, Spares, Mechanic, Makes, Engine, Body,
    ClearFilter, Add, Delete, Choose, Ok, Cancel, History
};

QIcon icon(Glyph glyph);

}  // namespace widgets
