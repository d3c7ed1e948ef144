// The main window: menus, panel area, mode-window frame, closing and maximising.
#include "app/MainWindow.h"

#include "gui/OffscreenApplication.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using qm::app::MainWindow;

namespace
{

QStringList describe(const QList<QAction*>& actions)
{
    QStringList items;
    for (const QAction* action : actions)
        items << action->objectName() + "=" + (action->isSeparator() ? QString("-") : action->text());
    return items;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { qm::guitest::prepareOffscreen(); }

private slots:
    void menuBarHoldsMenusAndCommandsInOrder()
    {
        MainWindow window;
        QCOMPARE(describe(window.menuBar()->actions()),
                 QStringList({"file=&File", "read=&Read", "write=&Write", "mode=&Mode", "setup=&Setup", "help=&Help"}));
        QVERIFY(window.menuItem("read")->menu() == nullptr);
        QVERIFY(window.menuItem("write")->menu() == nullptr);
    }

    void menuItemsInOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("file") << "file"
                              << QStringList{"newconfiguration=&New Configuration File",
                                             "openconfiguration=&Open Configuration File ...",
                                             "recentfiles=&Recent Files",
                                             "save=Sa&ve Configuration File",
                                             "saveconfiguration=&Save Configuration File As ...",
                                             "space1=-",
                                             "memorizedefaults=&Memorize Defaults",
                                             "space2=-",
                                             "printprofiles=&Print Profiles",
                                             "printerfont=Select Printer &Font",
                                             "printpreview=Print Pre&view...",
                                             "exportpdf=&Export Profiles as PDF...",
                                             "restorebackup=Restore from &Backup...",
                                             "space3=-",
                                             "exit=E&xit"};
        QTest::newRow("mode") << "mode"
                              << QStringList{"telemetry=&Telemetry", "beacon=&Beacon", "nmea=&NMEA",
                                             "tracking=T&racking", "alarm=&Alarm"};
        QTest::newRow("setup") << "setup" << QStringList{"serialport=Serial &Port",
                                                         "space10=-",
                                                         "inputbaudrate=&Input Baud Rate",
                                                         "space11=-",
                                                         "outputbaudrate=&Ouput Baud Rate",
                                                         "space12=-",
                                                         "verifyafterwrite=&Verify After Write"};
        QTest::newRow("serialport") << "serialport"
                                    << QStringList{"com1=COM&1", "com2=COM&2", "com3=COM&3",
                                                   "com4=COM&4", "space14=-",  "otherdevice=&Other Device..."};
        QTest::newRow("inputbaudrate") << "inputbaudrate"
                                       << QStringList{"in1200=&1200", "in2400=&2400", "in4800=&4800", "in9600=&9600"};
        QTest::newRow("outputbaudrate") << "outputbaudrate" << QStringList{"out300=&300", "out1200=&1200"};
        QTest::newRow("help") << "help" << QStringList{"contents=&Contents", "space13=-", "about=&About This Program"};
    }

    void menuItemsInOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        MainWindow window;
        auto* found = window.findChild<QMenu*>(menu);
        QVERIFY(found);
        QCOMPARE(window.menuItem(menu), found->menuAction());
        QCOMPARE(describe(found->actions()), items);
        for (const QString& item : items)
            QCOMPARE(window.menuItem(item.section('=', 0, 0))->objectName(), item.section('=', 0, 0));
    }

    void choiceItemsAreCheckableAndUnchecked()
    {
        MainWindow window;
        const QStringList checkable{"telemetry", "beacon", "nmea",    "tracking",         "alarm",      "com1",
                                    "com2",      "com3",   "com4",    "in1200",           "in2400",     "in4800",
                                    "in9600",    "out300", "out1200", "verifyafterwrite", "otherdevice"};
        for (const QAction* action : window.findChildren<QAction*>()) {
            if (action->objectName().isEmpty())
                continue;
            QVERIFY2(action->isCheckable() == checkable.contains(action->objectName()),
                     qPrintable(action->objectName()));
            QVERIFY2(!action->isChecked(), qPrintable(action->objectName()));
        }
    }

    void panelControls_data()
    {
        struct Row
        {
            const char* name;
            const char* frame;
            const char* kind;
            const char* caption;
            const char* toolTip;
        };
        const Row rows[] = {
            {"DataHeaderFrame", "Picture1", "QGroupBox", "Data Header", ""},
            {"Frame9", "Picture1", "QGroupBox", "VQ-3 Status", ""},
            {"Frame20", "Picture1", "QGroupBox", "Options", ""},
            {"GpsString1", "DataHeaderFrame", "QComboBox", "", "Enter (or select) the data header."},
            {"GpsString2", "DataHeaderFrame", "QComboBox", "", "Enter (or select) the data header."},
            {"GpsString3", "DataHeaderFrame", "QComboBox", "", "Enter (or select) the data header."},
            {"DataHeader1", "DataHeaderFrame", "QLabel", "Header 1", ""},
            {"DataHeader2", "DataHeaderFrame", "QLabel", "Header 2", ""},
            {"DataHeader3", "DataHeaderFrame", "QLabel", "Header 3", ""},
            {"VQ3Status", "Frame9", "QLabel", "Disconnected", ""},
            {"ConnectButton", "Frame9", "QPushButton", "&Disconnect", "Click to disconnect."},
            {"ModeLock", "Frame20", "QCheckBox", "Mode Lock", "Click to enable or disable the Mode button."},
            {"LEDDisable", "Frame20", "QCheckBox", "Lights Off",
             "Click to enable or disable the VQ-3's status lights."},
            {"AutoMode", "Frame20", "QCheckBox", "Auto Mode On",
             "Click to enable or disable Auto Mode at next power up."},
            {"MicEncode", "Frame20", "QCheckBox", "Mic Encode",
             "Click to enable or disable Mic Encoding (Tx on release of PTT)."},
        };
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        for (const Row& row : rows)
            QTest::newRow(row.name) << row.name << row.frame << row.kind << row.caption << row.toolTip;
    }

    void panelControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, frame);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        MainWindow window;
        auto* container = window.findChild<QWidget*>(frame);
        QVERIFY(container);
        auto* widget = container->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->metaObject()->className(), kind);
        QCOMPARE(widget->toolTip(), toolTip);
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            QCOMPARE(group->title(), caption);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QCOMPARE(button->text(), caption);
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            QVERIFY(list->isEditable());
    }

    void closingAsksTheProgramAndStaysOpen()
    {
        MainWindow window;
        window.show();
        QSignalSpy requested(&window, &MainWindow::closeRequested);
        QVERIFY(!window.close());
        QCOMPARE(requested.count(), 1);
        QVERIFY(window.isVisible());
    }

    void maximisingReturnsToNormal()
    {
        MainWindow window;
        window.show();
        const QSize normal = window.size();
        window.showMaximized();
        QVERIFY(!(window.windowState() & Qt::WindowMaximized));
        QTRY_COMPARE(window.size(), normal);
    }

    void windowIsCentredOnTheScreen()
    {
        MainWindow window;
        const QRect available = window.screen()->availableGeometry();
        QVERIFY(available.contains(window.frameGeometry()));
        QVERIFY(qAbs(window.frameGeometry().center().x() - available.center().x()) <= 1);
        QVERIFY(qAbs(window.frameGeometry().center().y() - available.center().y()) <= 1);
    }

    void modeWindowsKeepTheirSizeAndOnlyHideOnClose()
    {
        MainWindow window;
        auto* telemetry = new QWidget;
        telemetry->setWindowTitle("Telemetry Mode");
        telemetry->resize(400, 300);
        auto* beacon = new QWidget;
        beacon->setWindowTitle("Beacon Mode");
        QMdiSubWindow* first = window.addModeWindow(telemetry);
        QMdiSubWindow* second = window.addModeWindow(beacon);
        QCOMPARE(window.mdiArea()->subWindowList(), QList<QMdiSubWindow*>({first, second}));
        QCOMPARE(first->windowTitle(), QString("Telemetry Mode"));
        window.show();
        QVERIFY(first->isVisible());
        QCOMPARE(telemetry->size(), QSize(400, 300));
        QPointer<QWidget> kept(telemetry);
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(kept);
        QVERIFY(!first->isVisible());
        first->show();
        QVERIFY(telemetry->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
