#pragma once
// The body of a document as a QTextDocument laid out for one paint device:
// fonts and spacing come out in that device's pixels, and the text is split
// into pages of `pageSize` (the space between the running head and the page
// number). print/Render.cpp paints it page by page.
#include "print/Document.h"

#include <QSizeF>
#include <memory>

class QPaintDevice;
class QTextDocument;

namespace print {

// The font of every printout, as the program's windows use it.
inline constexpr const char* kFontFamily = "Liberation Sans";

std::unique_ptr<QTextDocument> layOut(const Document& document, QPaintDevice& device, const QSizeF& pageSize);

}  // namespace print
