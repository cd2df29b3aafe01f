#include "print/TextLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

namespace print {

namespace {

// A line of this many underscores is left to fill in by hand.
const QString kBlank(32, QLatin1Char('_'));
const QString kShortBlank(12, QLatin1Char('_'));

class Builder {
public:
    explicit Builder(QTextDocument& doc) : cursor_(&doc) {}

    void title(const QString& text, const QString& subtitle) {
        if (!text.isEmpty()) block(text, 14, true, Qt::AlignHCenter, 0, subtitle.isEmpty() ? 10 : 2);
        if (!subtitle.isEmpty()) block(subtitle, 10, false, Qt::AlignHCenter, 0, 10);
    }

    void operator()(const Heading& h) {
        block(h.text, h.level <= 1 ? 12 : 10.5, true, Qt::AlignLeft, h.level <= 1 ? 10 : 6, 4);
    }
    void operator()(const Paragraph& p) { block(p.text, 10, p.bold, Qt::AlignLeft, 0, 3); }
    void operator()(const Field& f) {
        block(f.label + QStringLiteral(": ") + (f.value.trimmed().isEmpty() ? kBlank : f.value), 10, false,
              Qt::AlignLeft, 0, 6);
    }
    void operator()(const Signature& s) {
        QString line = s.role.isEmpty() ? QString() : s.role + QLatin1Char(' ');
        line += kShortBlank + QStringLiteral(" / ") + (s.name.trimmed().isEmpty() ? kShortBlank : s.name) +
                QStringLiteral(" /   дата ") + kShortBlank;
        block(line, 10, false, Qt::AlignLeft, 18, 3);
    }
    void operator()(const Table& t);
    void operator()(const Image& i);

private:
    // Margins, padding and borders are given in pixels of a 96 dpi screen;
    // the layout scales them to its paint device.
    static qreal px(qreal points) { return points * 96 / 72.0; }

    QTextCharFormat chars(qreal points, bool bold) const {
        QTextCharFormat f;
        f.setFontFamilies({QString::fromLatin1(kFontFamily)});
        f.setFontPointSize(points);
        f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        return f;
    }

    // A paragraph of its own; an empty one the cursor stands in (the
    // document's first, or the one after a table) is used for it.
    void block(const QString& text, qreal points, bool bold, Qt::Alignment align, qreal above, qreal below) {
        QTextBlockFormat b;
        b.setAlignment(align);
        b.setTopMargin(px(above));
        b.setBottomMargin(px(below));
        if (first_) {
            cursor_.setBlockFormat(b);
            first_ = false;
        } else {
            cursor_.insertBlock(b);
        }
        cursor_.insertText(text, chars(points, bold));
    }

    QTextCursor cursor_;
    bool first_ = true;  // the cursor's paragraph is empty and unused
    int images_ = 0;
};

void Builder::operator()(const Table& t) {
    const int columns = int(t.columns.size());
    if (columns == 0) return;
    const int rows = 1 + int(t.rows.size() + t.totals.size());

    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setCellSpacing(0);
    format.setCellPadding(px(2));
    format.setBorder(px(0.4));
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setTopMargin(px(6));
    format.setBottomMargin(px(10));
    QList<QTextLength> widths;
    for (const Column& c : t.columns)
        widths << (c.widthPercent > 0 ? QTextLength(QTextLength::PercentageLength, c.widthPercent)
                                      : QTextLength(QTextLength::VariableLength, 0));
    format.setColumnWidthConstraints(widths);

    cursor_.movePosition(QTextCursor::End);
    QTextTable* table = cursor_.insertTable(rows, columns, format);

    const QTextCharFormat plain = chars(9.5, false), bold = chars(9.5, true);
    auto fill = [&](int row, const QStringList& cells, const QTextCharFormat& chars, bool title) {
        for (int c = 0; c < columns; ++c) {
            QTextTableCell cell = table->cellAt(row, c);
            if (title) {
                QTextCharFormat shade = cell.format();
                shade.setBackground(QColor(0xe4, 0xe4, 0xe4));
                cell.setFormat(shade);
            }
            QTextCursor at = cell.firstCursorPosition();
            QTextBlockFormat b;
            b.setAlignment(title ? Qt::AlignHCenter : t.columns[c].align);
            at.setBlockFormat(b);
            at.insertText(cells.value(c), chars);
        }
    };
    QStringList titles;
    for (const Column& c : t.columns) titles << c.title;
    fill(0, titles, bold, true);
    int row = 1;
    for (const QStringList& r : t.rows) fill(row++, r, plain, false);
    for (const QStringList& r : t.totals) fill(row++, r, bold, false);
    // The empty paragraph after the table takes the next block.
    cursor_.movePosition(QTextCursor::End);
    first_ = true;
}

void Builder::operator()(const Image& i) {
    if (i.image.isNull()) return;
    const QString name = QStringLiteral("image:%1").arg(++images_);
    cursor_.document()->addResource(QTextDocument::ImageResource, QUrl(name), i.image);
    block(QString(), 10, false, Qt::AlignHCenter, 6, 6);
    QTextImageFormat f;
    f.setName(name);
    const qreal width = px(i.widthMm * 72 / 25.4);
    f.setWidth(width);
    f.setHeight(width * i.image.height() / qMax(1, i.image.width()));
    cursor_.insertImage(f);
}

}  // namespace

std::unique_ptr<QTextDocument> layOut(const Document& document, QPaintDevice& device, const QSizeF& pageSize) {
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPointSizeF(10);
    doc->setDefaultFont(font);
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(false);
    Builder builder(*doc);
    builder.title(document.title, document.subtitle);
    for (const Block& b : document.blocks) std::visit(builder, b);
    // The layout comes last: made while the text goes in, it would lay out
    // a table again for every cell filled.
    doc->documentLayout()->setPaintDevice(&device);
    doc->setPageSize(pageSize);
    return doc;
}

}  // namespace print
