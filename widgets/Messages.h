#pragma once
// The message boxes of the program, behind one seam so that tests can record
// the texts and answer the questions.
//
// Texts may use "\r" (or "\r\n") as the line break; it is shown as a new line.
// An empty caption stands for the program's name, "Торквиль".
#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace widgets {

// Information with an OK button and no icon.
void showMessage(const QString& text, const QString& caption = QString());
// Question with the buttons Yes and No and no icon; true for Yes.
bool askYesNo(const QString& text, const QString& caption = QString());
// The question before a record is deleted: "Внимание! Запись будет удалена,
// продолжить ?", caption "Удаление".
bool askDelete();
// An error (the application-wide error display): OK button, error icon.
void showError(const QString& text, const QString& caption = QString());

// The caption of the program's own boxes.
QString programName();

// The text as the box shows it: "\r\n" and "\r" become "\n".
QString displayedText(const QString& text);

// While one exists, the boxes are not shown: each call is recorded (with the
// caption it would have had) and each question is answered from the queue,
// or with the default answer once the queue is empty. Recorders nest; the
// newest one records. One thread only.
class MessageRecorder {
public:
    enum class Kind { Message, Question, Error };
    struct Entry {
        Kind kind;
        QString caption;
        QString text;  // as given by the program, "\r" kept
    };

    explicit MessageRecorder(bool defaultAnswer = false);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void queueAnswer(bool yes) { answers_.push_back(yes); }
    void setDefaultAnswer(bool yes) { defaultAnswer_ = yes; }
    // Runs before each question is answered: what happens elsewhere while
    // the user reads it.
    void onQuestion(std::function<void()> action) { onQuestion_ = std::move(action); }

    const QList<Entry>& entries() const { return entries_; }
    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.isEmpty(); }
    QString lastText() const { return entries_.isEmpty() ? QString() : entries_.last().text; }
    QString lastCaption() const { return entries_.isEmpty() ? QString() : entries_.last().caption; }
    void clear() { entries_.clear(); }

    // Used by the seam.
    static MessageRecorder* current();
    bool record(Kind kind, const QString& caption, const QString& text);

private:
    QList<Entry> entries_;
    std::deque<bool> answers_;
    std::function<void()> onQuestion_;
    bool defaultAnswer_;
    MessageRecorder* previous_;
};

}  // namespace widgets
