// The main window as a person first sees it and then uses it: the start-up state, the status panel on any colour
// scheme, the mode windows' close and minimise buttons, and the window's place on the screen.
#include "DesktopOnFakePorts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QToolTip>

namespace qm::app::guitest
{
namespace
{

constexpr QRgb kLightYellow = 0xFFFF80;
constexpr QRgb kLightGreen = 0x80FF80;

/// What the status panel shows: its caption, the colour behind the text and the darkest pixel of its text.
struct PanelLook
{
    QString caption;
    QRgb background = 0;
    int darkestText = 255;
};

PanelLook lookOf(QLabel& panel)
{
    const QImage image = panel.grab().toImage();
    const QRect inside = panel.contentsRect().adjusted(1, 1, -1, -1);
    PanelLook look{panel.text(), image.pixel(inside.topLeft()) & 0xFFFFFF, 255};
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            look.darkestText = std::min(look.darkestText, qGray(image.pixel(x, y)));
    return look;
}

class WindowStateTest : public DesktopOnFakePorts
{
protected:
    void SetUp() override { writeSettings(); }

    void start()
    {
        create();
        ASSERT_TRUE(desktop->start());
    }

    QLabel* statusPanel() { return find<QLabel>("VQ3Status"); }

    void connect()
    {
        probeTick();
        port.deliver(std::string(1, '\xAA'));
    }
};

TEST_F(WindowStateTest, FromTheFirstFrameTheStatusIsDisconnectedAndNoModeControlIsInUse)
{
    create();
    PanelLook first;
    bool disconnectShown = true;
    QWidget* focus = nullptr;
    struct FirstShow : QObject
    {
        std::function<void()> seen;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show && seen) {
                seen();
                seen = nullptr;
            }
            return false;
        }
    } firstShow;
    firstShow.seen = [&] {
        first = lookOf(*statusPanel());
        disconnectShown = find<QWidget>("ConnectButton")->isVisibleTo(&desktop->window());
    };
    desktop->window().installEventFilter(&firstShow);
    ASSERT_TRUE(desktop->start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop->window()));
    focus = QApplication::focusWidget();

    EXPECT_EQ(first.caption, "Disconnected");
    EXPECT_EQ(first.background, kLightYellow);
    EXPECT_FALSE(disconnectShown);
    const PanelLook started = lookOf(*statusPanel());
    EXPECT_EQ(started.caption, "Disconnected");
    EXPECT_EQ(started.background, kLightYellow);
    EXPECT_FALSE(find<QWidget>("ConnectButton")->isVisibleTo(&desktop->window()));
    for (const char* name :
         {"GpsString1", "GpsString2", "GpsString3", "DataHeaderFrame", "MicEncode", "ModeLock", "AutoMode"}) {
        QWidget* widget = find<QWidget>(name);
        EXPECT_FALSE(widget->isEnabled()) << name;
        EXPECT_FALSE(focus && (focus == widget || widget->isAncestorOf(focus))) << name;
    }
    EXPECT_TRUE(find<QWidget>("LEDDisable")->isEnabled());
}

TEST_F(WindowStateTest, StatusPanelTextIsDarkOnItsLightColoursWhateverTheColourScheme)
{
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    for (const QPalette& palette : {original, dark}) {
        QApplication::setPalette(palette);
        start();
        const PanelLook disconnected = lookOf(*statusPanel());
        EXPECT_EQ(disconnected.background, kLightYellow);
        EXPECT_LT(disconnected.darkestText, 80);
        connect();
        const PanelLook connected = lookOf(*statusPanel());
        EXPECT_EQ(connected.caption, "Connected");
        EXPECT_EQ(connected.background, kLightGreen);
        EXPECT_LT(connected.darkestText, 80);

        QLabel* panel = statusPanel();
        QToolTip::showText(panel->mapToGlobal(panel->rect().center()), panel->toolTip(), panel);
        QWidget* tip = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (window->inherits("QTipLabel") && window->isVisible())
                        tip = window;
                return tip != nullptr;
            },
            2000));
        EXPECT_EQ(qobject_cast<QLabel*>(tip)->text(), "VQ-3 Connected.");
        const QImage tipImage = tip->grab().toImage();
        EXPECT_NE(tipImage.pixel(tip->rect().center().x(), 3) & 0xFFFFFF, kLightGreen);
        QToolTip::hideText();
        desktop.reset();
    }
    QApplication::setPalette(original);
}

/// Clicks a button of a mode window's title bar as the mouse does: over it, then pressed and released.
void clickTitleBarButton(QMdiSubWindow& window, QStyle::SubControl button)
{
    QStyleOptionTitleBar bar;
    bar.initFrom(&window);
    bar.subControls = button;
    bar.titleBarFlags = window.windowFlags();
    bar.titleBarState = static_cast<int>(window.windowState().toInt());
    bar.rect = QRect(0, 0, window.width(), window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, &window));
    const QPoint at = window.style()->subControlRect(QStyle::CC_TitleBar, &bar, button, &window).center();
    QMouseEvent over(QEvent::MouseMove, at, window.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &over);
    QTest::mouseClick(&window, Qt::LeftButton, {}, at);
}

TEST_F(WindowStateTest, AModeWindowClosedOrMinimisedComesBackWhenItsModeIsChosen)
{
    start();
    desktop->window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
    action("tracking")->trigger();
    auto* tracking = qobject_cast<QMdiSubWindow*>(desktop->binder().widget("Form4"));
    ASSERT_NE(tracking, nullptr);
    ASSERT_TRUE(tracking->isVisible());

    find<QWidget>("TrkComments")->setFocus();
    clickTitleBarButton(*tracking, QStyle::SC_TitleBarCloseButton);
    probeTick();
    probeTick();
    EXPECT_FALSE(tracking->isVisible());
    EXPECT_FALSE(windows().tracking.station.window.visible());
    action("tracking")->trigger();
    EXPECT_TRUE(tracking->isVisible());
    EXPECT_TRUE(find<QWidget>("TrkComments")->isVisible());

    find<QWidget>("TrkMyCall")->setFocus();
    clickTitleBarButton(*tracking, QStyle::SC_TitleBarMinButton);
    probeTick();
    probeTick();
    EXPECT_TRUE(tracking->isMinimized());
    action("tracking")->trigger();
    EXPECT_TRUE(tracking->isVisible());
    EXPECT_FALSE(tracking->isMinimized());
    EXPECT_TRUE(find<QWidget>("TrkMyCall")->isVisible());
    EXPECT_EQ(desktop->window().mdiArea()->activeSubWindow(), tracking);

    action("beacon")->trigger();
    EXPECT_FALSE(tracking->isVisible());
}

TEST_F(WindowStateTest, TheMainWindowOpensWithinTheScreenWithItsStatusBarInSight)
{
    start();
    QMainWindow& window = desktop->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The window manager puts its frame around the window shortly after it is shown; the window then moves. A busy
    // machine (the sanitizer build, tests in parallel) can hold the window manager up for seconds.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 20000));
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.contains(window.frameGeometry()); }, 2000))
        << "screen " << screen.width() << "x" << screen.height() << ", window " << window.frameGeometry().width() << "x"
        << window.frameGeometry().height() << " at " << window.frameGeometry().x() << "," << window.frameGeometry().y();
    QStatusBar* bar = window.statusBar();
    const QRect barOnScreen(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(screen.contains(barOnScreen));
}

} // namespace
} // namespace qm::app::guitest
