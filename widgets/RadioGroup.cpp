#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace widgets {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(10, 8, 10, 10);
    grid_->setHorizontalSpacing(8);
    grid_->setVerticalSpacing(8);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_->addButton(button, i);
        grid_->addWidget(button, i, 0);
    }
    connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* b = buttons_->button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = buttons_->checkedButton()) {
        buttons_->setExclusive(false);
        checked->setChecked(false);
        buttons_->setExclusive(true);
    }
}

QRadioButton* RadioGroup::item(int index) const { return qobject_cast<QRadioButton*>(buttons_->button(index)); }

int RadioGroup::count() const { return int(buttons_->buttons().size()); }

}  // namespace widgets
