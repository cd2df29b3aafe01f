// The keyboard and Qt's own texts as the clerk meets them in every window:
// Qt's standard buttons and context menus in Russian, Enter on a focused
// button, Ctrl+S on a window's save button.
#include "widgets/SaveShortcut.h"
#include "widgets/UpperEdit.h"

#include "support/TestMain.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QString plain(QString text) { return text.remove(u'&'); }

// A plain window (no dialog: no default buttons) with a field and buttons.
struct Window {
    QWidget window;
    widgets::UpperEdit* field = new widgets::UpperEdit(&window);
    QPushButton* push = new QPushButton(QStringLiteral("ДОБАВИТЬ"), &window);
    QToolButton* tool = new QToolButton(&window);
    QPushButton* save = new QPushButton(QStringLiteral("СОХРАНИТЬ"), &window);

    Window() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(field), static_cast<QWidget*>(push), static_cast<QWidget*>(tool),
                           static_cast<QWidget*>(save)})
            layout->addWidget(w);
        tool->setFocusPolicy(Qt::StrongFocus);
        window.show();
        window.activateWindow();
    }
};

}  // namespace

class TestWidgetsKeys : public QObject {
    Q_OBJECT
private slots:
    void qtTextsAreRussian() {
        QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("Внимание! Запись будет удалена, продолжить ?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(plain(box.button(QMessageBox::Yes)->text()), QStringLiteral("Да"));
        QCOMPARE(plain(box.button(QMessageBox::No)->text()), QStringLiteral("Нет"));
        QCOMPARE(plain(box.button(QMessageBox::Ok)->text()), QStringLiteral("OK"));
        QCOMPARE(plain(box.button(QMessageBox::Cancel)->text()), QStringLiteral("Отмена"));

        QLineEdit edit(QStringLiteral("ТЕКСТ"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) texts << plain(a->text()).section(u'\t', 0, 0);
        for (const char* english : {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"})
            QVERIFY2(!texts.contains(QString::fromLatin1(english)), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(QStringLiteral("Копировать")), qPrintable(texts.join(u'|')));
    }

    void enterPressesTheFocusedButton() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QSignalSpy push(w.push, &QPushButton::clicked);
        QSignalSpy tool(w.tool, &QToolButton::clicked);
        w.push->setFocus();
        QTest::keyClick(w.push, Qt::Key_Return);
        QTest::keyClick(w.push, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(push.count(), 2);
        w.tool->setFocus();
        QTest::keyClick(w.tool, Qt::Key_Return);
        QCOMPARE(tool.count(), 1);

        // Not with a modifier, not on a disabled button, not a button without the focus.
        w.push->setFocus();
        QTest::keyClick(w.push, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClick(w.tool, Qt::Key_Return);
        w.push->setEnabled(false);
        QTest::keyClick(w.push, Qt::Key_Return);
        QCOMPARE(push.count(), 2);
        QCOMPARE(tool.count(), 1);

        // In a dialog: a button made not auto-default is pressed too, and an
        // auto-default one exactly once (Qt presses it itself).
        QDialog dialog;
        auto* plainButton = new QPushButton(QStringLiteral("ПОСТРОИТЬ"), &dialog);
        plainButton->setAutoDefault(false);
        auto* autoButton = new QPushButton(QStringLiteral("ОТМЕНА"), &dialog);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(plainButton);
        layout->addWidget(autoButton);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy plainClicks(plainButton, &QPushButton::clicked);
        QSignalSpy autoClicks(autoButton, &QPushButton::clicked);
        plainButton->setFocus();
        QTest::keyClick(plainButton, Qt::Key_Return);
        autoButton->setFocus();
        QTest::keyClick(autoButton, Qt::Key_Return);
        QCOMPARE(plainClicks.count(), 1);
        QCOMPARE(autoClicks.count(), 1);
    }

    void ctrlSPressesAnEnabledSaveButtonOnly() {
        Window w;
        auto* second = new QPushButton(&w.window);  // a second list's save button
        w.window.layout()->addWidget(second);
        second->show();
        widgets::addSaveShortcut(&w.window, {second, w.save});
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QSignalSpy saved(w.save, &QPushButton::clicked);
        QSignalSpy secondSaved(second, &QPushButton::clicked);
        w.field->setFocus();
        second->setEnabled(false);
        w.save->setEnabled(false);
        QTest::keyClick(w.field, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 0);
        w.save->setEnabled(true);
        QTest::keyClick(w.field, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(secondSaved.count(), 0);
        second->setEnabled(true);
        QTest::keyClick(w.field, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(secondSaved.count(), 1);
        QCOMPARE(saved.count(), 1);
        QVERIFY(w.field->text().isEmpty());  // the keys type nothing
    }
};

TORQUIL_TEST_MAIN(TestWidgetsKeys)
#include "tst_widgets_keys.moc"
