// The main window as a person first sees it and then uses it: the start-up state, the status panel on any colour
// scheme, the mode windows' close and minimise buttons, and the window's place on the screen.
#include "Desktops.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace qm::app::guitest
{
namespace
{

/// How the status panel looks: its caption, the colour behind the text, and whether its text is dark.
QString lookOf(QLabel& panel)
{
    const QImage image = panel.grab().toImage();
    const QRect inside = panel.contentsRect().adjusted(1, 1, -1, -1);
    int darkest = 255;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return panel.text() + " " + QColor(image.pixel(inside.topLeft())).name() + (darkest < 80 ? " dark" : " light");
}

const QString kDisconnected = "Disconnected #ffff80 dark";
const QString kConnected = "Connected #80ff80 dark";

class WindowStateTest : public DesktopOnFakePorts
{
protected:
    void SetUp() override {}
    void opensWithinTheScreen(const char* kept);
};

TEST_F(WindowStateTest, FromTheFirstFrameTheStatusIsDisconnectedAndNoModeControlIsInUse)
{
    struct FirstShow : QObject
    {
        std::function<void()> seen;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show && seen)
                std::exchange(seen, nullptr)();
            return false;
        }
    } firstShow;
    QString first;
    bool disconnectShown = true;
    desktop = std::make_unique<Desktop>(ports(), &ui);
    firstShow.seen = [&] {
        first = lookOf(*find<QLabel>("VQ3Status"));
        disconnectShown = find("ConnectButton")->isVisibleTo(&desktop->window());
    };
    desktop->window().installEventFilter(&firstShow);
    ASSERT_TRUE(desktop->start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop->window()));
    QWidget* focus = QApplication::focusWidget();

    EXPECT_EQ(first, kDisconnected);
    EXPECT_FALSE(disconnectShown);
    for (const char* name : {"GpsString1", "GpsString3", "DataHeaderFrame", "MicEncode", "ModeLock", "AutoMode"}) {
        EXPECT_FALSE(find(name)->isEnabled()) << name;
        EXPECT_FALSE(focus && (focus == find(name) || find(name)->isAncestorOf(focus))) << name;
    }
    EXPECT_TRUE(find("LEDDisable")->isEnabled());
}

TEST_F(WindowStateTest, StatusPanelTextIsDarkOnItsLightColoursWhateverTheColourScheme)
{
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    for (const QPalette& palette : {original, dark}) {
        QApplication::setPalette(palette);
        start(ports());
        auto* panel = find<QLabel>("VQ3Status");
        EXPECT_EQ(lookOf(*panel), kDisconnected);
        connect();
        EXPECT_EQ(lookOf(*panel), kConnected);

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
    start(ports());
    desktop->window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
    action("tracking")->trigger();
    auto* tracking = find<QMdiSubWindow>("Form4");
    for (const auto button : {QStyle::SC_TitleBarCloseButton, QStyle::SC_TitleBarMinButton}) {
        find("TrkComments")->setFocus();
        clickTitleBarButton(*tracking, button);
        probeTick();
        probeTick();
        EXPECT_TRUE(!tracking->isVisible() || tracking->isMinimized());
        EXPECT_FALSE(button == QStyle::SC_TitleBarCloseButton && windows().tracking.station.window.visible());
        action("tracking")->trigger();
        EXPECT_TRUE(tracking->isVisible() && !tracking->isMinimized());
        EXPECT_TRUE(find("TrkComments")->isVisible());
        EXPECT_EQ(desktop->window().mdiArea()->activeSubWindow(), tracking);
    }
    action("beacon")->trigger();
    EXPECT_FALSE(tracking->isVisible());
}

TEST_F(WindowStateTest, TheMainWindowOpensWithinTheScreenWithItsStatusBarInSight)
{
    // No place kept, and places kept partly off the screen (a screen since made smaller) to the left and above.
    for (const char* kept : {"", "Window=-3000,40,700,500", "Window=40,-3000,700,500", "Window=40,0,700,500",
                             "Window=3000,40,700,500", "Window=40,3000,700,500"}) {
        desktop.reset();
        files.files["/root/.config/quellmark/quellmark.conf"] = kept;
        opensWithinTheScreen(kept);
    }
}

void WindowStateTest::opensWithinTheScreen(const char* kept)
{
    SCOPED_TRACE(kept);
    start(ports());
    QMainWindow& window = desktop->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The window manager frames the window shortly after it is shown, then the window moves; a busy machine can hold
    // the window manager up for seconds.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 20000));
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.contains(window.frameGeometry()); }, 2000))
        << screen.width() << "x" << screen.height() << ", window " << window.frameGeometry().width() << "x"
        << window.frameGeometry().height() << " at " << window.frameGeometry().x() << "," << window.frameGeometry().y();
    QStatusBar* bar = window.statusBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(screen.contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));
}

} // namespace
} // namespace qm::app::guitest
