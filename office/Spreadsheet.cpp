#include "office/Spreadsheet.h"
#include "office/Viewer.h"

#include <QFileInfo>

namespace office {

void Range::setValue(const QString& text) { book_.setCell(name_, text); }
void Range::setValue(double number) { book_.setNumber(name_, number); }
void Range::select() { book_.select(name_); }

Spreadsheet::Spreadsheet() = default;
Spreadsheet::~Spreadsheet() = default;

Workbook& Spreadsheet::workbooksOpen(const QString& path)
{
    books_.push_back(std::make_unique<Workbook>(path));
    return *books_.back();
}

Workbook& Spreadsheet::activeWorkbook()
{
    if (books_.empty())
        throw Error(QStringLiteral("Нет открытой книги"));
    return *books_.back();
}

void Spreadsheet::run(const QString& macro)
{
    const qsizetype bang = macro.lastIndexOf(u'!');
    if (bang < 0) {
        activeWorkbook().runMacro(macro);
        return;
    }
    for (auto it = books_.rbegin(); it != books_.rend(); ++it)
        if ((*it)->isNamed(macro.left(bang))) {
            (*it)->runMacro(macro);
            return;
        }
    throw Error(QStringLiteral("Макрос «%1» недоступен: книга «%2» не открыта").arg(macro, macro.left(bang)));
}

void Spreadsheet::setVisible(bool visible) { visible_ = visible; }
bool Spreadsheet::isVisible() const { return visible_; }

Range Spreadsheet::range(const QString& name) { return Range(activeWorkbook(), name); }

void Spreadsheet::setOutputStem(const QString& stem) { stem_ = stem; }

bool Spreadsheet::release(const LateFailure& failedLater)
{
    if (released_ || !visible_ || books_.empty())
        return false;
    released_ = true;
    Workbook& book = activeWorkbook();
    output_ = freshOutputPath(stem_.isEmpty() ? QFileInfo(book.name()).completeBaseName() : stem_);
    book.saveCopy(output_);
    books_.clear();
    return viewer().show(output_, failedLater);
}

QString Spreadsheet::outputPath() const { return output_; }

} // namespace office
