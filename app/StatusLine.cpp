#include "app/StatusLine.h"

#include <QLabel>
#include <QPointer>

namespace app {

namespace {

QPointer<QLabel> panel;

}  // namespace

void setStatusLabel(QLabel* label) { panel = label; }

void showStatus(const QString& text) {
    if (!panel) return;
    panel->setText(text.isEmpty() ? QString() : QStringLiteral("  ") + text);
    // Painted now: the handler that waits for the server holds the loop.
    if (panel->isVisible()) panel->repaint();
}

QString statusText() { return panel ? panel->text().trimmed() : QString(); }

}  // namespace app
