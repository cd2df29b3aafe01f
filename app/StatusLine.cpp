#include "app/StatusLine.h"

#include <QLabel>
#include <QPointer>

namespace app {

namespace {

QPointer<QLabel> panel;
QString standing;

}  // namespace

void setStatusLabel(QLabel* label) { panel = label; }

void showStatus(const QString& text) {
    if (!panel) return;
    const QString shown = text.isEmpty() ? standing : text;
    panel->setText(shown.isEmpty() ? QString() : QStringLiteral("  ") + shown);
    panel->setToolTip(shown);
    // Painted now: the handler that waits for the server holds the loop.
    if (panel->isVisible()) panel->repaint();
}

void setStandingStatus(const QString& text) {
    standing = text;
    showStatus(QString());
}

QString statusText() { return panel ? panel->text().trimmed() : QString(); }

}  // namespace app
