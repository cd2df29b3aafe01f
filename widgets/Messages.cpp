#include "widgets/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace widgets {

namespace {

MessageRecorder* currentRecorder = nullptr;

QString captionOrName(const QString& caption) {
    return caption.isEmpty() ? programName() : caption;
}

QWidget* boxParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

int execBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, captionOrName(caption), displayedText(text), buttons, boxParent());
    return box.exec();
}

}  // namespace

QString programName() { return QStringLiteral("Торквиль"); }

QString displayedText(const QString& text) {
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void showMessage(const QString& text, const QString& caption) {
    if (MessageRecorder* recorder = MessageRecorder::current()) {
        recorder->record(MessageRecorder::Kind::Message, captionOrName(caption), text);
        return;
    }
    execBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
}

bool askYesNo(const QString& text, const QString& caption) {
    if (MessageRecorder* recorder = MessageRecorder::current())
        return recorder->record(MessageRecorder::Kind::Question, captionOrName(caption), text);
    return execBox(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool askDelete() {
    return askYesNo(QStringLiteral("Внимание! Запись будет удалена, продолжить ?"), QStringLiteral("Удаление"));
}

void showError(const QString& text, const QString& caption) {
    if (MessageRecorder* recorder = MessageRecorder::current()) {
        recorder->record(MessageRecorder::Kind::Error, captionOrName(caption), text);
        return;
    }
    execBox(QMessageBox::Critical, caption, text, QMessageBox::Ok);
}

MessageRecorder::MessageRecorder(bool defaultAnswer)
    : defaultAnswer_(defaultAnswer), previous_(currentRecorder) {
    currentRecorder = this;
}

MessageRecorder::~MessageRecorder() {
    currentRecorder = previous_;
}

MessageRecorder* MessageRecorder::current() {
    return currentRecorder;
}

bool MessageRecorder::record(Kind kind, const QString& caption, const QString& text) {
    entries_.append(Entry{kind, caption, text});
    if (kind != Kind::Question)
        return true;
    if (onQuestion_) onQuestion_();
    if (answers_.empty())
        return defaultAnswer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace widgets
