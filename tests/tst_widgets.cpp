// The entry fields, the message seam, the error display, the activation
// tracker and the Enter-key focus step.
#include "app/ErrorWords.h"
#include "fb/Error.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Focus.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"

#include "support/TestMain.h"
#include "support/Typing.h"

#include <QDialog>
#include <QFileSystemModel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <firebird/Interface.h>
#include <optional>
#include <stdexcept>

using namespace widgets;

namespace {

using support::typeText;

class Thrower : public QObject {
    Q_OBJECT
public:
    QString text;
    int calls = 0;
public slots:
    void throwText() {
        ++calls;
        throw std::runtime_error(text.toStdString());
    }
    void throwOther() {
        ++calls;
        throw 42;
    }
};

}  // namespace

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void upperEditTypesCapitals();
    void upperEditEnterAndEscape();
    void focusNextSkipsDisabledControls();

    void dateEditMask();

    void messageRecorder();
    void errorDisplayCatchesExceptions();
    void errorBoxesSpeakTheShopsWords();
    void russianWhateverTheSystemLocale();

    void activationFiresOncePerWindowChange();
    void activationFollowsRealActivateOfKnownWindowsOnly();
};

void TestWidgets::upperEditTypesCapitals() {
    UpperEdit edit;
    QSignalSpy edited(&edit, &QLineEdit::textEdited);
    typeText(&edit, QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя bmw-5"));
    QCOMPARE(edit.text(), QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ BMW-5"));
    QCOMPARE(edited.last().at(0).toString(), edit.text());

    // Typing in the middle keeps the cursor after the typed letter.
    edit.setText(QStringLiteral("АБ"));
    edit.setCursorPosition(1);
    typeText(&edit, QStringLiteral("в"));
    QCOMPARE(edit.text(), QStringLiteral("АВБ"));
    QCOMPARE(edit.cursorPosition(), 2);

    // A typed letter replaces the selection.
    edit.setSelection(0, 2);
    typeText(&edit, QStringLiteral("ж"));
    QCOMPARE(edit.text(), QStringLiteral("ЖБ"));

    // Inserted (pasted) text: capitals, cursor after it.
    edit.setCursorPosition(1);
    edit.insert(QStringLiteral("ёлка"));
    QCOMPARE(edit.text(), QStringLiteral("ЖЁЛКАБ"));
    QCOMPARE(edit.cursorPosition(), 5);

    // The program's own text stays as given.
    edit.setText(QStringLiteral("bmw"));
    QCOMPARE(edit.text(), QStringLiteral("bmw"));

    // The maximum length still holds.
    edit.clear();
    edit.setMaxLength(3);
    typeText(&edit, QStringLiteral("абвгд"));
    QCOMPARE(edit.text(), QStringLiteral("АБВ"));

    QCOMPARE(upperChars(QStringLiteral("straße ёж")), QStringLiteral("STRAßE ЁЖ"));
    // Only into capitals the database stores: "µ" (its Greek capital is not
    // in Windows-1251) and letters beyond it stay as typed.
    edit.clear();
    edit.setMaxLength(32767);
    typeText(&edit, QStringLiteral("5µм"));
    QCOMPARE(edit.text(), QStringLiteral("5µМ"));
    QCOMPARE(upperChars(QStringLiteral("ä ы 𐐨")), QStringLiteral("ä Ы 𐐨"));
}

void TestWidgets::upperEditEnterAndEscape() {
    QDialog dialog;
    auto* first = new UpperEdit(&dialog);
    auto* second = new UpperEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(ok);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy enter(first, &LineEdit::enterPressed);
    QSignalSpy escape(first, &LineEdit::escapePressed);
    QSignalSpy okClicked(ok, &QPushButton::clicked);

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(okClicked.count(), 0);  // the default button does not fire
    QVERIFY(first->hasFocus());

    first->setEnterMovesFocus(true);
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(enter.count(), 2);
    QVERIFY(second->hasFocus());

    QTest::keyClick(first, Qt::Key_Escape);
    QCOMPARE(escape.count(), 1);
    QVERIFY(dialog.isVisible());
    first->setEscapePropagates(true);
    QTest::keyClick(first, Qt::Key_Escape);
    QCOMPARE(escape.count(), 2);
    QVERIFY(!dialog.isVisible());
}

void TestWidgets::focusNextSkipsDisabledControls() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* a = new UpperEdit(&window);
    auto* b = new UpperEdit(&window);
    auto* c = new UpperEdit(&window);
    auto* grid = new StringGrid(&window);
    for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b), static_cast<QWidget*>(c),
                       static_cast<QWidget*>(grid)})
        layout->addWidget(w);
    b->setEnabled(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    a->setFocus();
    QVERIFY(focusNext(a));
    QVERIFY(c->hasFocus());
    QVERIFY(focusNext(c));
    QVERIFY(grid->hasFocus());
    // Tab leaves the grid instead of walking its cells.
    QTest::keyClick(grid, Qt::Key_Tab);
    QVERIFY(a->hasFocus());
    // From a control that has not got the focus: the step starts there.
    QVERIFY(focusNext(c));
    QVERIFY(grid->hasFocus());
    QVERIFY(!focusNext(nullptr));
}

void TestWidgets::dateEditMask() {
    DateEdit edit;
    QCOMPARE(edit.text(), QStringLiteral("  .  .    "));
    QVERIFY(edit.isEmpty());
    QSignalSpy userChanged(&edit, &DateEdit::userChanged);

    edit.setText(QStringLiteral("01.02.2024"));
    QCOMPARE(edit.text(), QStringLiteral("01.02.2024"));
    QCOMPARE(userChanged.count(), 0);
    edit.clear();
    QCOMPARE(edit.text(), DateEdit::emptyText());
    QCOMPARE(userChanged.count(), 0);

    edit.setFocus();
    edit.setCursorPosition(0);
    typeText(&edit, QStringLiteral("3112x1999"));  // the letter is refused
    QCOMPARE(edit.text(), QStringLiteral("31.12.1999"));
    QCOMPARE(userChanged.count(), 8);

    // Incomplete input shows its blanks, so the date conversion rejects it.
    edit.clear();
    edit.setCursorPosition(0);
    typeText(&edit, QStringLiteral("053"));
    QCOMPARE(edit.text(), QStringLiteral("05.3 .    "));
    QCOMPARE(edit.maxLength(), 10);
}

void TestWidgets::messageRecorder() {
    QCOMPARE(displayedText(QStringLiteral("a\rb\r\nc")), QStringLiteral("a\nb\nc"));
    QCOMPARE(MessageRecorder::current(), nullptr);
    {
        MessageRecorder recorder;
        showMessage(QStringLiteral("Выберите машину!"), QStringLiteral("Ошибка"));
        showMessage(QStringLiteral("line\rnext"));
        recorder.queueAnswer(true);
        QVERIFY(askYesNo(QStringLiteral("Внимание! Запись будет удалена, продолжить ?"), QStringLiteral("Удаление")));
        QVERIFY(!askYesNo(QStringLiteral("again")));  // queue empty: the default, No
        recorder.setDefaultAnswer(true);
        QVERIFY(askYesNo(QStringLiteral("third")));

        QCOMPARE(recorder.count(), 5);
        const auto& e = recorder.entries();
        QCOMPARE(e[0].kind, MessageRecorder::Kind::Message);
        QCOMPARE(e[0].caption, QStringLiteral("Ошибка"));
        QCOMPARE(e[0].text, QStringLiteral("Выберите машину!"));
        QCOMPARE(e[1].caption, QStringLiteral("Торквиль"));
        QCOMPARE(e[1].text, QStringLiteral("line\rnext"));
        QCOMPARE(e[2].kind, MessageRecorder::Kind::Question);
        QCOMPARE(e[2].caption, QStringLiteral("Удаление"));

        {
            MessageRecorder inner(true);
            QVERIFY(askYesNo(QStringLiteral("inner")));
            QCOMPARE(inner.count(), 1);
        }
        QCOMPARE(recorder.count(), 5);
        showError(QStringLiteral("boom"));
        QCOMPARE(recorder.entries().last().kind, MessageRecorder::Kind::Error);
        QCOMPARE(recorder.lastText(), QStringLiteral("boom"));
    }
    QCOMPARE(MessageRecorder::current(), nullptr);
}

void TestWidgets::errorDisplayCatchesExceptions() {
    QVERIFY(qobject_cast<Application*>(QCoreApplication::instance()));
    QCoreApplication::setApplicationName(QStringLiteral("Торквиль"));
    MessageRecorder recorder;
    Application::clearLastError();
    Thrower thrower;
    thrower.text = QStringLiteral("'12x' is not a valid integer value");

    // From a slot run by a timer.
    QTimer::singleShot(0, &thrower, &Thrower::throwText);
    QTRY_COMPARE(thrower.calls, 1);
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.entries()[0].kind, MessageRecorder::Kind::Error);
    QCOMPARE(recorder.entries()[0].caption, QStringLiteral("Торквиль"));
    QCOMPARE(recorder.lastText(), thrower.text);
    QCOMPARE(Application::lastError(), thrower.text);

    // From a slot run by a mouse click; the UTF-8 text arrives intact.
    thrower.text = QStringLiteral("Ошибка чтения данных");
    QPushButton button;
    connect(&button, &QPushButton::clicked, &thrower, &Thrower::throwText);
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(thrower.calls, 2);
    QCOMPARE(recorder.lastText(), QStringLiteral("Ошибка чтения данных"));

    // From a key handler; and the window goes on working afterwards.
    UpperEdit edit;
    connect(&edit, &LineEdit::enterPressed, &thrower, &Thrower::throwText);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(thrower.calls, 3);
    QCOMPARE(recorder.count(), 3);
    typeText(&edit, QStringLiteral("я"));
    QCOMPARE(edit.text(), QStringLiteral("Я"));

    // Something that is no std::exception.
    QTimer::singleShot(0, &thrower, &Thrower::throwOther);
    QTRY_COMPARE(thrower.calls, 4);
    QCOMPARE(recorder.lastText(), Application::unknownErrorText());
}

// What the error display shows for an error that left a handler, with the
// handler's words when it named its action.
QString shownFor(const std::exception& error, const QString& failed = QString(), const QString& unsaved = QString()) {
    try {
        std::optional<Doing> doing;
        if (!failed.isEmpty()) doing.emplace(failed, unsaved);
        if (auto* e = dynamic_cast<const fb::Error*>(&error)) throw *e;
        throw std::runtime_error(error.what());
    } catch (const std::exception& e) {
        Application::showException(e);
    }
    return Application::lastError();
}

void TestWidgets::errorBoxesSpeakTheShopsWords() {
    app::installErrorWords();
    MessageRecorder recorder;
    const fb::Error lost(QStringLiteral("Error writing data to the connection.\n-send_packet/send"),
                         {isc_network_error, isc_net_write_err});
    QCOMPARE(shownFor(lost, QStringLiteral("Не удалось сохранить договор"),
                      QStringLiteral("Договор не сохранён — сохраните ещё раз.")),
             QStringLiteral("Не удалось сохранить договор\nСвязь с сервером была потеряна. Договор не сохранён — "
                            "сохраните ещё раз.\n\nError writing data to the connection.\n-send_packet/send"));
    QCOMPARE(recorder.lastCaption(), QStringLiteral("Торквиль"));

    // Without an action the condition is the first line; the engine's text stays below.
    const struct {
        std::vector<long> codes;
        const char* text;
        const char* first;
    } conditions[] = {
        {{isc_network_error}, "Unable to complete network request", "Нет связи с сервером"},
        {{isc_instance_conflict}, "Database already opened with engine instance", "База данных занята другой программой"},
        {{isc_deadlock, isc_update_conflict}, "deadlock\n-update conflicts", "Запись изменяют на другом рабочем месте"},
        {{isc_lock_conflict}, "lock conflict on no wait transaction", "Запись занята другим рабочим местом"},
        {{isc_no_priv}, "no permission for DELETE access", "Нет прав на это действие"},
        {{isc_io_error, isc_io_write_err}, "I/O error during \"write\"\n-No space left on device", "Диск переполнен"},
        {{isc_io_error, isc_io_open_err}, "I/O error during \"open\" operation", "Файл базы данных не найден или не читается"},
        {{isc_login}, "Your user name and password are not defined", "Неверное имя пользователя или пароль"},
        {{isc_random}, "something else", "Ошибка базы данных"},
    };
    for (const auto& c : conditions) {
        const QString text = shownFor(fb::Error(QString::fromUtf8(c.text), c.codes));
        QCOMPARE(text.section(u'\n', 0, 0), QString::fromUtf8(c.first));
        QVERIFY2(text.endsWith(QStringLiteral("\n\n") + QString::fromUtf8(c.text)), qPrintable(text));
    }

    // The program's own texts stay as they are, action or not.
    QCOMPARE(shownFor(fb::Error(QStringLiteral("Database not assigned"))), QStringLiteral("Database not assigned"));
    QCOMPARE(shownFor(std::runtime_error("'12x' is not a valid integer value"), QStringLiteral("Не удалось")),
             QStringLiteral("'12x' is not a valid integer value"));

    // An action left by an exception that was handled on the way is not
    // put above a later error of another handler.
    try {
        Doing doing(QStringLiteral("Не удалось удалить договор"));
        throw lost;
    } catch (const fb::Error&) {
    }
    QTimer::singleShot(0, [&] { throw lost; });
    QTRY_COMPARE(recorder.count(), 4 + int(std::size(conditions)));
    QVERIFY2(recorder.lastText().startsWith(QStringLiteral("Нет связи с сервером\n")), qPrintable(recorder.lastText()));
    Application::setErrorWords({});
}

// The tests run under LC_ALL=C.UTF-8. The file dialogs are Qt's own, their
// types follow the default locale and their dates the system locale.
void TestWidgets::russianWhateverTheSystemLocale() {
    QCOMPARE(qgetenv("LC_ALL"), QByteArray("C.UTF-8"));  // put back for the programs started from here
    QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    const QDate day(2026, 12, 10);
    QCOMPARE(QLocale().toString(day, QStringLiteral("d MMMM, dddd")), QStringLiteral("10 декабря, четверг"));
    QTemporaryDir dir;
    QFile file(dir.filePath("note.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.setFileTime(day.startOfDay(), QFileDevice::FileModificationTime);
    file.close();
    QFileSystemModel files;
    const QModelIndex folder = files.setRootPath(dir.path());
    QTRY_COMPARE(files.rowCount(folder), 1);
    QCOMPARE(files.index(0, 3, folder).data().toString(), QStringLiteral("10.12.2026 00:00"));
    const QString type = files.index(0, 2, folder).data().toString();  // "Обычный текстовый документ"
    QVERIFY2(type.contains(QRegularExpression("^[А-Яа-я]+ ")), qPrintable(type));
}

void TestWidgets::activationFiresOncePerWindowChange() {
    Activation& activation = Activation::instance();
    activation.reset();
    QWidget mf, cf;
    auto* child = new QWidget(&mf);
    int mfCount = 0, cfCount = 0;
    activation.setHandler(&mf, [&] { ++mfCount; });
    activation.setHandler(&cf, [&] { ++cfCount; });

    activation.report(&mf);
    activation.report(&mf);
    activation.report(child);  // the child's window is the same window
    QCOMPARE(mfCount, 1);
    QCOMPARE(activation.lastActive(), &mf);

    activation.report(&cf);
    activation.report(&mf);
    QCOMPARE(mfCount, 2);
    QCOMPARE(cfCount, 1);

    // A window without a handler counts as a change all the same.
    QWidget about;
    activation.report(&about);
    activation.report(&mf);
    QCOMPARE(mfCount, 3);

    activation.reset();
    QCOMPARE(activation.lastActive(), nullptr);
    activation.report(&mf);
    QCOMPARE(mfCount, 4);

    // A throwing handler: the error goes to the caller, the window is active.
    activation.setHandler(&cf, [&] {
        ++cfCount;
        throw std::runtime_error("no database");
    });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, activation.report(&cf));
    QCOMPARE(activation.lastActive(), &cf);
    activation.report(&cf);
    QCOMPARE(cfCount, 2);

    // A destroyed window leaves nothing behind.
    {
        QWidget gone;
        activation.setHandler(&gone, [] {});
        QVERIFY(activation.isTracked(&gone));
        activation.report(&gone);
    }
    QCOMPARE(activation.lastActive(), nullptr);
    activation.reset();
}

void TestWidgets::activationFollowsRealActivateOfKnownWindowsOnly() {
    Activation& activation = Activation::instance();
    activation.reset();
    QWidget mf;
    QWidget box;  // stands for a message box
    int mfCount = 0;
    activation.setHandler(&mf, [&] { ++mfCount; });

    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&mf, &activate);
    QCOMPARE(mfCount, 1);
    QCoreApplication::sendEvent(&mf, &activate);
    QCOMPARE(mfCount, 1);

    // A passing window does not count: coming back from it fires nothing.
    QCoreApplication::sendEvent(&box, &activate);
    QCOMPARE(activation.lastActive(), &mf);
    QCoreApplication::sendEvent(&mf, &activate);
    QCOMPARE(mfCount, 1);

    activation.track(&box);
    QCoreApplication::sendEvent(&box, &activate);
    QCoreApplication::sendEvent(&mf, &activate);
    QCOMPARE(mfCount, 2);
    activation.reset();
}

TORQUIL_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
