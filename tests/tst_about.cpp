// The about box's links and the version history.
#include "about/AboutBox.h"
#include "about/Hst.h"
#include "contracts/MF.h"
#include "support/TestMain.h"
#include "widgets/Links.h"
#include "widgets/Messages.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void linksChangeColourOnlyUnderThePointer() {
        TAboutBox box;
        box.show();
        QCOMPARE(box.Label4->colour(), QColor(Qt::blue));
        QCOMPARE(box.Label4->cursor().shape(), Qt::PointingHandCursor);
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(box.Label5, &enter);
        QCOMPARE(box.Label5->colour(), QColor(Qt::red));
        QStringList opened;
        widgets::setLinkOpener([&](const QString& a) {
            opened << a;
            return false;  // no browser: nothing is said
        });
        widgets::MessageRecorder rec;
        QTest::mouseClick(box.Label5, Qt::LeftButton);
        QCOMPARE(box.Label5->colour(), QColor(Qt::red));  // a click changes no colour
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(box.Label5, &leave);
        QCOMPARE(box.Label5->colour(), QColor(Qt::blue));
        QTest::mouseClick(box.Label4, Qt::LeftButton);
        widgets::setLinkOpener({});
        QCOMPARE(opened, QStringList({TMF::siteAddress(), "mailto:" + TMF::supportAddress()}));
        QVERIFY(rec.isEmpty());
        QCOMPARE(box.Label5->text(), TMF::siteAddress());
        QCOMPARE(box.ProductName->text(), QString("Торквиль v. 1.0"));
        QVERIFY(box.OKButton->isDefault());
    }

    void historyText() {
        THst h;
        QCOMPARE(h.Memo1->toPlainText().split('\n'),
                 QStringList({"31.12.2013  ",
                              "Вышла версия 1.0. На первый наивный взгляд ошибок нет и быть не может, но почему-то "
                              "постоянно ",
                              "хочется еще что-нибудь переписать..."}));
        QVERIFY(h.Memo1->isReadOnly() && !h.Memo1->isEnabled());
    }
};

TORQUIL_TEST_MAIN(TestAbout)
#include "tst_about.moc"
