#pragma once
// The radio group of the forms: a framed caption over a column of items, one
// chosen at a time, addressed by index (0 for the first item, -1 for none).
// The items sit in column 0 of grid(); a window may put its own controls
// beside an item, in the item's row.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace widgets {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);  // no clicked()
    QRadioButton* item(int index) const;
    int count() const;
    QGridLayout* grid() const { return grid_; }

signals:
    void clicked(int index);  // the user chose an item (also the chosen one again)

private:
    QButtonGroup* buttons_;
    QGridLayout* grid_;
};

}  // namespace widgets
