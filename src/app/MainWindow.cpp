// The main window: the menu bar, the panel area (Data Header, VQ-3 Status, Options), the frame that
// holds the mode windows, and a status bar with the progress of a read or write.
#include "app/MainWindow.h"

#include "app/Accessibility.h"
#include "app/KeyboardNavigation.h"
#include "app/Screen.h"

#include "app/Logo.h"
#include "app/ModeAreaHint.h"
#include "forms/MenuLayout.h"
#include "shell/Keyboard.h"
#include "shell/ProgramOptions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <string_view>

namespace qm::app
{

namespace
{

constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 760;
// Room kept for the window manager's frame (title bar and borders) until the real frame is known.
constexpr int kFrameAllowanceWidth = 16;
constexpr int kFrameAllowanceHeight = 48;
// The panel area along the window holding the data headers, the status frame and the options frame.
constexpr const char* kPanelArea = "Picture1";

QMenu* addMenu(QWidget* parent, const QString& name, const QString& caption)
{
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QMenu* addSubmenu(QMenu* menu, const QString& name, const QString& caption)
{
    QMenu* submenu = addMenu(menu, name, caption);
    menu->addMenu(submenu);
    return submenu;
}

// A mode window's frame that hides when the user closes it: a plain sub-window would also close (hide) the
// window inside it, which would then stay blank when the frame is shown again.
class ModeSubWindow : public QMdiSubWindow
{
protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        hide();
    }

    /// Tab after the window's last control, and Shift+Tab before its first, go on to the main window's own
    /// controls, so the main window's controls and the mode window's make one round (a sub-window would keep the
    /// focus to itself).
    bool focusNextPrevChild(bool next) override
    {
        const QList<QWidget*> own = tabStops(*this);
        const auto* panel = window()->findChild<QWidget*>(kPanelArea);
        if (!own.isEmpty() && panel && QApplication::focusWidget() == (next ? own.last() : own.first())) {
            const QList<QWidget*> outside = tabStops(*panel);
            if (!outside.isEmpty()) {
                (next ? outside.first() : outside.last())->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        return QMdiSubWindow::focusNextPrevChild(next);
    }
};

/// Returns the first local configuration file (*.vq3) among dragged data ("" for none).
QString configurationFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".vq3", Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

void keepSpaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

/// An option box, captioned when the window is drawn from its model.
QCheckBox* optionBox(const char* name, const char* toolTip)
{
    auto* box = new QCheckBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(QString::fromLatin1(toolTip));
    return box;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    // The main window is the program's first window: what assistive technology reads of the lists and tabs is set
    // up before any of them exists.
    installAccessibility();
    setObjectName("MDIForm1");
    setWindowTitle("Quellmark Configuration Program");
    setWindowIcon(QIcon(quellmarkLogo(64, 2.0)));
    // The window is never maximised; without the button nobody tries.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    createMenus();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(createPanelArea());
    m_mdiArea = new QMdiArea;
    m_mdiArea->setObjectName("ModeWindowFrame");
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_mdiArea, 1);
    setCentralWidget(central);
    new ModeAreaHint(m_mdiArea, findChild<QMenu*>("mode"));

    m_progress = new QProgressBar;
    m_progress->setObjectName("TransferProgress");
    m_progress->setMaximumWidth(260);
    m_progress->hide();
    statusBar()->addPermanentWidget(m_progress);

    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        resize(std::min(kInitialWidth, available.width() - kFrameAllowanceWidth),
               std::min(kInitialHeight, available.height() - kFrameAllowanceHeight));
    } else {
        resize(kInitialWidth, kInitialHeight);
    }
    centreOnScreen(*this);

    // Every widget of the window sees a dragged file first here, so a drop onto a field opens the file instead of
    // typing its name.
    setAcceptDrops(true);
    qApp->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = configurationFile(drop->mimeData());
    if (path.isEmpty())
        return QMainWindow::eventFilter(watched, event);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    // The opening may ask a question: it runs after the drag has ended, not inside it.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, path] { emit fileDropped(path); });
    return true;
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    keepOnScreen();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    keepOnScreen();
}

void MainWindow::placeAt(const QRect& place)
{
    const QScreen* screen = QGuiApplication::screenAt(place.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // Until the window manager has framed the window, room is kept for its frame as at the first start.
    const QRect free = screen->availableGeometry().adjusted(kFrameAllowanceWidth / 2, kFrameAllowanceHeight - 8,
                                                            -kFrameAllowanceWidth / 2, -8);
    // The window is never smaller than its contents need, so that size is what has to fit.
    const QSize least = minimumSizeHint();
    const auto fitted = shell::clampToScreen(
        {place.x(), place.y(), std::max(place.width(), least.width()), std::max(place.height(), least.height())},
        {free.x(), free.y(), free.width(), free.height()});
    m_placed = true;
    setGeometry(fitted.x, fitted.y, std::max(fitted.width, least.width()), std::max(fitted.height, least.height()));
}

void MainWindow::keepOnScreen()
{
    // The window manager frames the window after it is shown: once the frame is known, the whole window, its status
    // bar included, is fitted into the screen's free area and centred there (once; the user may move it later).
    if (m_keptOnScreen || !isVisible() || frameGeometry() == geometry() || !screen())
        return;
    m_keptOnScreen = true;
    const QRect available = screen()->availableGeometry();
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QSize free = available.size().shrunkBy(frame);
    // A first start's size kept room for a frame guessed too large: now that the real frame is known, the window
    // takes the height it was meant to have as far as the screen has it, which the mode windows need on a small one.
    const QSize wanted = m_placed ? size() : size().expandedTo(QSize(size().width(), kInitialHeight));
    const QSize fitting = wanted.boundedTo(free).expandedTo(minimumSizeHint());
    if (fitting != size())
        resize(fitting);
    const QSize whole = fitting.grownBy(frame);
    if (m_placed) {
        // Where the user left it, as far as the whole framed window stays on the screen.
        const auto kept = shell::clampToScreen({outer.x(), outer.y(), whole.width(), whole.height()},
                                               {available.x(), available.y(), available.width(), available.height()});
        if (kept.x != outer.x() || kept.y != outer.y())
            move(kept.x, kept.y);
        return;
    }
    move(std::max(available.left(), available.left() + (available.width() - whole.width()) / 2),
         std::max(available.top(), available.top() + (available.height() - whole.height()) / 2));
}

void MainWindow::createMenus()
{
    QMenuBar* bar = menuBar();
    std::map<std::string_view, QMenu*> menus;
    for (const forms::MenuEntry& entry : forms::menuLayout()) {
        const QString name = QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
        const QString caption = QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size()));
        QMenu* holder = entry.menu.empty() ? nullptr : menus.at(entry.menu);
        switch (entry.kind) {
        case forms::MenuEntryKind::Menu: {
            QMenu* menu = holder ? addSubmenu(holder, name, caption) : addMenu(bar, name, caption);
            if (!holder)
                bar->addMenu(menu);
            menus[entry.name] = menu;
            // Some menus check their items against the system each time they open.
            connect(menu, &QMenu::aboutToShow, this, [this, id = *entry.id] { emit menuOpening(id); });
            break;
        }
        case forms::MenuEntryKind::Separator:
            holder->addSeparator()->setObjectName(name);
            break;
        case forms::MenuEntryKind::Command:
        case forms::MenuEntryKind::CheckItem:
            addMenuCommand(entry, holder ? holder->addAction(caption) : bar->addAction(caption), name);
            break;
        }
    }
    bar->setToolTipDuration(-1);
}

void MainWindow::addMenuCommand(const forms::MenuEntry& entry, QAction* action, const QString& name)
{
    action->setObjectName(name);
    // Check marks are set by the program, one item of a group at a time, so the items are checkable but not
    // grouped: the toolkit would otherwise move the mark on its own.
    action->setCheckable(entry.kind == forms::MenuEntryKind::CheckItem);
    if (entry.platformSaveKey)
        action->setShortcut(QKeySequence::Save);
    else if (!entry.shortcut.empty())
        action->setShortcut(
            QKeySequence(QString::fromLatin1(entry.shortcut.data(), static_cast<qsizetype>(entry.shortcut.size())),
                         QKeySequence::PortableText));
    // A command on the menu bar itself shows no key: its tool tip names it.
    if (entry.menu.empty() && !action->shortcut().isEmpty())
        action->setToolTip(action->text().remove('&') + " (" + action->shortcut().toString(QKeySequence::NativeText) +
                           ")");
}

QWidget* MainWindow::createPanelArea()
{
    auto* panel = new QWidget;
    panel->setObjectName(kPanelArea);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setSpacing(10);

    auto* dataHeader = new QGroupBox("Data Header");
    dataHeader->setObjectName("DataHeaderFrame");
    auto* headers = new QGridLayout(dataHeader);
    headers->setHorizontalSpacing(8);
    for (int i = 1; i <= 3; ++i) {
        // Captioned, with its mnemonic, when the window is drawn from its model.
        auto* label = new QLabel;
        label->setObjectName(QString("DataHeader%1").arg(i));
        keepSpaceWhenHidden(label);
        auto* list = new QComboBox;
        list->setObjectName(QString("GpsString%1").arg(i));
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setMinimumContentsLength(8);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setToolTip("Enter (or select) the data header.");
        label->setBuddy(list);
        headers->addWidget(label, 0, i - 1);
        headers->addWidget(list, 1, i - 1);
    }
    layout->addWidget(dataHeader);

    auto* status = new QGroupBox("VQ-3 Status");
    status->setObjectName(shell::kStatusFrame);
    auto* statusLayout = new QVBoxLayout(status);
    auto* statusPanel = new AnnouncedLabel;
    statusPanel->setText("Disconnected");
    statusPanel->setObjectName("VQ3Status");
    statusPanel->setAlignment(Qt::AlignCenter);
    statusPanel->setFrameShape(QFrame::Panel);
    statusPanel->setFrameShadow(QFrame::Sunken);
    statusPanel->setMinimumWidth(statusPanel->fontMetrics().horizontalAdvance("Disconnected") + 32);
    statusLayout->addWidget(statusPanel);
    auto* connect = new QPushButton("&Disconnect");
    connect->setObjectName("ConnectButton");
    connect->setToolTip("Click to disconnect.");
    connect->setAutoDefault(false);
    keepSpaceWhenHidden(connect);
    statusLayout->addWidget(connect);
    layout->addWidget(status);

    auto* options = new QGroupBox("Options");
    options->setObjectName(shell::kOptionsFrame);
    auto* boxes = new QGridLayout(options);
    boxes->setHorizontalSpacing(16);
    boxes->addWidget(optionBox("ModeLock", "Click to enable or disable the Mode button."), 0, 0);
    boxes->addWidget(optionBox("LEDDisable", "Click to enable or disable the VQ-3's status lights."), 0, 1);
    boxes->addWidget(optionBox("AutoMode", "Click to enable or disable Auto Mode at next power up."), 1, 0);
    boxes->addWidget(optionBox("MicEncode", "Click to enable or disable Mic Encoding (Tx on release of PTT)."), 1, 1);
    layout->addWidget(options);
    layout->addStretch(1);

    return panel;
}

QMdiSubWindow* MainWindow::addModeWindow(QWidget* window)
{
    // A window without a layout has no size of its own to offer: the size it was given is kept instead.
    const QSize given = window->layout() == nullptr && window->testAttribute(Qt::WA_Resized) ? window->size() : QSize();
    // Closing a mode window only hides it: the window and its contents live as long as the program.
    auto* sub = new ModeSubWindow;
    sub->setWidget(window);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint);
    sub->setWindowIcon(windowIcon());
    m_mdiArea->addSubWindow(sub);
    if (given.isValid()) {
        const QMargins frame = sub->contentsMargins();
        sub->resize(given.grownBy(frame));
    } else {
        sub->adjustSize();
    }
    sub->move(0, 0);
    return sub;
}

void MainWindow::restFocus()
{
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow(); active && active->isVisible() && !active->isMinimized())
        active->setFocus(Qt::OtherFocusReason);
    else
        m_mdiArea->setFocus(Qt::OtherFocusReason);
}

QAction* MainWindow::menuItem(const QString& name) const
{
    return findChild<QAction*>(name);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The program closes the port and ends itself; the window does not close on its own.
    event->ignore();
    emit closeRequested();
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        setWindowState(windowState() & ~Qt::WindowMaximized);
    QMainWindow::changeEvent(event);
}

} // namespace qm::app
