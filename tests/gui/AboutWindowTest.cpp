// The About window: its texts, OK, and the System Info button with and without a tool on the PATH.
#include "app/AboutWindow.h"

#include "gui/OffscreenApplication.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using qm::app::AboutWindow;

class AboutWindowTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { qm::guitest::prepareOffscreen(); }

private slots:
    void init() { m_path = qgetenv("PATH"); }
    void cleanup() { qputenv("PATH", m_path); }

    void showsTitleAndClosesOnOk()
    {
        QWidget main;
        QPointer<AboutWindow> about(new AboutWindow(&main));
        QCOMPARE(about->objectName(), QString("Form7"));
        QCOMPARE(about->windowTitle(), QString("About The Quellmark Configuration Program"));
        QCOMPARE(about->findChild<QLabel*>("lblTitle")->text(), QString("Quellmark VQ-3 Configuration Program v2.00"));
        QCOMPARE(about->findChild<QPushButton*>("cmdSysInfo")->text(), QString("System Info"));
        about->show();
        QVERIFY(!about->isModal());
        QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(!about->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about);
    }

    void systemInfoIsDisabledWithoutATool()
    {
        QTemporaryDir empty;
        qputenv("PATH", empty.path().toLocal8Bit());
        AboutWindow about;
        QVERIFY(about.systemInfoTool().isEmpty());
        QVERIFY(!about.findChild<QPushButton*>("cmdSysInfo")->isEnabled());
    }

    void systemInfoStartsTheFirstToolFound()
    {
        QTemporaryDir bin;
        for (const char* tool : {"kinfocenter", "gnome-system-monitor"}) {
            QFile script(bin.filePath(tool));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\n: > \"$0.started\"\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        AboutWindow about;
        QCOMPARE(about.systemInfoTool(), bin.filePath("gnome-system-monitor"));
        auto* button = about.findChild<QPushButton*>("cmdSysInfo");
        QVERIFY(button->isEnabled());
        about.show();
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(QFile::exists(bin.filePath("gnome-system-monitor.started")));
        QVERIFY(!QFile::exists(bin.filePath("kinfocenter.started")));
    }

private:
    QByteArray m_path;
};

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"
