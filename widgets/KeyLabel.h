#pragma once
// A hidden key label ("*" for no chosen row) that tells when its text is set,
// so that the controls that need a chosen row can follow it.
#include <QLabel>

namespace widgets {

class KeyLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Hides QLabel::setText: every write through this type is reported.
    void setText(const QString& text) {
        const bool changed = text != QLabel::text();
        QLabel::setText(text);
        if (changed) emit textChanged(text);
    }

signals:
    void textChanged(const QString& text);
};

}  // namespace widgets
