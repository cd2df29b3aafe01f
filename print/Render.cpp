#include "print/Render.h"

#include "print/Error.h"
#include "print/TextLayout.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace print {

namespace {

// Text needs a QGuiApplication on a platform with fonts: the "minimal"
// platform has none and would give pages without a letter on them.
void needFonts() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw Error(QStringLiteral("Печать недоступна: программа запущена без графической части (QGuiApplication)"));
    if (QFontDatabase::families().isEmpty())
        throw Error(QStringLiteral("Печать недоступна: графической части программы (платформа «%1») не доступен ни "
                                   "один шрифт. Без экрана задайте QT_QPA_PLATFORM=offscreen")
                        .arg(QGuiApplication::platformName()));
}

QFont marginFont(bool bold = false) {
    QFont f(QString::fromLatin1(kFontFamily));
    f.setPointSizeF(8);
    f.setBold(bold);
    return f;
}

}  // namespace

QPageLayout pageLayout(const Document& document) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       document.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait,
                       QMarginsF(15, 12, 12, 12), QPageLayout::Millimeter);
}

int render(const Document& document, QPagedPaintDevice& device) {
    needFonts();
    // The painter's origin is the top left corner of the printable area.
    const QRectF area(0, 0, device.width(), device.height());
    const QFont headFont = marginFont(true), footFont = marginFont();
    const QFontMetricsF head(headFont, &device), foot(footFont, &device);
    const qreal gap = device.logicalDpiY() * 4 / 25.4;  // 4 mm between the body and a margin line
    const qreal top = document.runningHead.isEmpty() ? 0 : head.height() + gap;
    const qreal bottom = foot.height() + gap;
    const QRectF body(area.left(), area.top() + top, area.width(), area.height() - top - bottom);
    if (body.height() <= 0) throw Error(QStringLiteral("Печать: страница слишком мала для документа"));

    const auto doc = layOut(document, device, body.size());
    const int pages = doc->pageCount();

    QPainter painter;
    if (!painter.begin(&device)) throw Error(QStringLiteral("Печать: не удалось начать вывод на устройство"));
    const qreal rule = device.logicalDpiY() / 200.0;  // a thin line, about 0.13 mm
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) {
            painter.end();
            throw Error(QStringLiteral("Печать: не удалось начать страницу %1").arg(page + 1));
        }
        if (!document.runningHead.isEmpty()) {
            painter.setFont(headFont);
            painter.setPen(Qt::black);
            const QRectF line(area.left(), area.top(), area.width(), head.height());
            painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                             head.elidedText(document.runningHead, Qt::ElideRight, area.width()));
            painter.setPen(QPen(Qt::black, rule));
            painter.drawLine(QPointF(area.left(), line.bottom() + gap / 3), QPointF(area.right(), line.bottom() + gap / 3));
        }
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        doc->drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
        painter.restore();

        painter.setFont(footFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), area.bottom() - foot.height(), area.width(), foot.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages));
    }
    painter.end();
    return pages;
}

void writePdf(const Document& document, const QString& file) { writePdf(document, file, pageLayout(document)); }

void writePdf(const Document& document, const QString& file, const QPageLayout& layout) {
    needFonts();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Не удалось записать файл PDF «%1»: %2").arg(file, out.errorString()));
    {
        QPdfWriter writer(&out);
        writer.setPageLayout(layout);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Торквиль"));
        writer.setResolution(600);
        render(document, writer);
    }
    if (!out.commit())
        throw Error(QStringLiteral("Не удалось записать файл PDF «%1»: %2").arg(file, out.errorString()));
}

}  // namespace print
