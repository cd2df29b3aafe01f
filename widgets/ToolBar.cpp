#include "widgets/ToolBar.h"

#include <QToolBar>
#include <QToolButton>

namespace widgets {

QToolButton* addToolButton(QToolBar* bar, const char* name, Glyph glyph, const char* hint,
                           QSize buttonSize) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(icon(glyph));
    b->setIconSize(bar->iconSize());
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    if (buttonSize.isValid()) b->setFixedSize(buttonSize);
    if (hint) b->setToolTip(QString::fromUtf8(hint));
    bar->addWidget(b);
    return b;
}

void addGap(QToolBar* bar, int width) {
    auto* gap = new QWidget(bar);
    gap->setFixedWidth(width);
    bar->addWidget(gap);
}

void addRightSpacer(QToolBar* bar) {
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
}

}  // namespace widgets
