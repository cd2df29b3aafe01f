#pragma once
// A printed document as the program lays it out itself: a title, a running
// head printed at the top of every page (the shop's name), and blocks in
// order. It knows no window and no database; print/Render.h puts it on
// paper or into a PDF file, always on A4.
#include <QImage>
#include <QString>
#include <QStringList>
#include <Qt>

#include <variant>
#include <vector>

namespace print {

enum class Orientation { Portrait, Landscape };

// A heading: level 1 is the largest; the document's title comes before every
// block and needs none of its own.
struct Heading {
    QString text;
    int level = 1;  // 1 or 2
};

struct Paragraph {
    QString text;
    bool bold = false;
};

// "Label: value" on a line of its own. An empty value prints as a line to
// fill in by hand.
struct Field {
    QString label;
    QString value;
};

struct Column {
    QString title;
    Qt::Alignment align = Qt::AlignLeft;  // Qt::AlignRight for figures
    int widthPercent = 0;                 // of the text width; 0 shares what is left
};

// A table with ruled cells. The column titles repeat at the top of every
// page the table runs onto; total rows come last, in bold. A row shorter
// than the columns leaves the rest blank.
struct Table {
    std::vector<Column> columns;
    std::vector<QStringList> rows;
    std::vector<QStringList> totals;
};

// "Role ____________ / name /   дата __________": a line to sign by hand.
// An empty name prints as a blank to fill in.
struct Signature {
    QString role;
    QString name;
};

// A picture (a chart) on a line of its own, `widthMm` wide, its height in
// proportion.
struct Image {
    QImage image;
    double widthMm = 170;
};

using Block = std::variant<Heading, Paragraph, Field, Table, Signature, Image>;

struct Document {
    QString title;
    QString subtitle;     // under the title (a period, a car); may be empty
    QString runningHead;  // on top of every page; may be empty
    Orientation orientation = Orientation::Portrait;
    std::vector<Block> blocks;

    Document& add(Block block) {
        blocks.push_back(std::move(block));
        return *this;
    }
    Document& heading(const QString& text, int level = 1) { return add(Heading{text, level}); }
    Document& paragraph(const QString& text, bool bold = false) { return add(Paragraph{text, bold}); }
    Document& field(const QString& label, const QString& value) { return add(Field{label, value}); }
    Document& table(Table t) { return add(std::move(t)); }
    Document& signature(const QString& role, const QString& name) { return add(Signature{role, name}); }
    Document& image(const QImage& picture, double widthMm = 170) { return add(Image{picture, widthMm}); }
};

}  // namespace print
