// The welcome window: its texts, OK, and staying on top without taking the focus.
#include "app/WelcomeWindow.h"

#include "gui/OffscreenApplication.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using qm::app::WelcomeWindow;

class WelcomeWindowTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { qm::guitest::prepareOffscreen(); }

private slots:
    void showsItsTexts()
    {
        WelcomeWindow welcome;
        QCOMPARE(welcome.objectName(), QString("Form6"));
        QCOMPARE(QString::fromLatin1(WelcomeWindow::kText),
                 QString("To begin configuring your Quellmark, select the mode \r\n"
                         "that you want to use from the \"Mode\" menu at the \r\n"
                         "top of the screen.\r\n"));
        auto* text = welcome.findChild<QLabel*>("Text1");
        QVERIFY(text);
        QCOMPARE(text->text(), QString("To begin configuring your Quellmark, select the mode \n"
                                       "that you want to use from the \"Mode\" menu at the \n"
                                       "top of the screen.\n"));
        QCOMPARE(text->font().family(), QString("Times New Roman"));
        QCOMPARE(welcome.findChild<QLabel*>("lblCompanyProduct")->text(),
                 QString("Quellmark Configuration Program v2.0"));
        QVERIFY(!welcome.findChild<QLabel*>("imgLogo")->pixmap().isNull());
        QCOMPARE(welcome.findChild<QCheckBox*>("ShowSplashScreen")->text(), QString("Show this screen at startup "));
        QCOMPARE(welcome.showSplashScreen(), welcome.findChild<QCheckBox*>("ShowSplashScreen"));
        QVERIFY(welcome.showSplashScreen()->isChecked());
        QCOMPARE(welcome.findChild<QPushButton*>("Command1")->text(), QString("&Ok"));
    }

    void okAndClosingBothReportOk()
    {
        WelcomeWindow welcome;
        welcome.show();
        QSignalSpy ok(&welcome, &WelcomeWindow::okClicked);
        QTest::mouseClick(welcome.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(ok.count(), 1);
        QVERIFY(!welcome.close());
        QCOMPARE(ok.count(), 2);
        QVERIFY(welcome.isVisible());
    }

    void topmostTogglesWhileShown()
    {
        WelcomeWindow welcome;
        welcome.show();
        QVERIFY(welcome.isTopmost());
        const QPoint position = welcome.pos();
        welcome.setTopmost(false);
        QVERIFY(!welcome.isTopmost());
        QVERIFY(!(welcome.windowHandle()->flags() & Qt::WindowStaysOnTopHint));
        QVERIFY(welcome.isVisible());
        welcome.setTopmost(true);
        QVERIFY(welcome.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        QVERIFY(welcome.isVisible());
        QCOMPARE(welcome.pos(), position);
    }
};

QTEST_MAIN(WelcomeWindowTest)
#include "WelcomeWindowTest.moc"
