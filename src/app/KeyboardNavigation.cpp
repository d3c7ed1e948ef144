// The keys that move about the main window beyond Tab.
#include "app/KeyboardNavigation.h"

#include "app/MainWindow.h"
#include "app/ViewBinder.h"
#include "shell/Keyboard.h"
#include "shell/Program.h"

#include <QApplication>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>

namespace qm::app
{

QList<QWidget*> tabStops(const QWidget& area)
{
    QList<QWidget*> stops;
    const QWidget* window = area.window();
    for (QWidget* widget = window->nextInFocusChain(); widget && widget != window; widget = widget->nextInFocusChain())
        if (widget != &area && area.isAncestorOf(widget) && widget->isVisible() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->focusProxy() == nullptr)
            stops << widget;
    return stops;
}

KeyboardNavigation::KeyboardNavigation(shell::Program& program, MainWindow& window, ViewBinder& binder)
    : QObject(&window), m_program(program), m_window(window), m_binder(binder)
{
    const auto onKeys = [this](const QKeySequence& keys, auto action) {
        // The keys work wherever the focus is in the main window, the mode windows' fields included.
        auto* shortcut = new QShortcut(keys, &m_window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    onKeys(QKeySequence(Qt::Key_F6), [this] { moveToArea(true); });
    onKeys(QKeySequence(Qt::SHIFT | Qt::Key_F6), [this] { moveToArea(false); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { stepProfileTab(1); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { stepProfileTab(1); });
    onKeys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { stepProfileTab(-1); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { stepProfileTab(-1); });
}

void KeyboardNavigation::moveToArea(bool forward)
{
    const shell::Session& session = m_program.session();
    const std::vector<std::string> areas = shell::keyboardAreas(session.windows(), session.state().currentMode);
    const auto widgetOf = [this](const std::string& area) -> QWidget* {
        // A mode window is framed by its sub-window, which is what takes the focus.
        if (QWidget* window = m_binder.widget(area))
            return window;
        return m_window.findChild<QWidget*>(QString::fromStdString(area));
    };
    std::string from;
    if (const QWidget* focus = QApplication::focusWidget())
        for (const std::string& area : areas)
            if (const QWidget* widget = widgetOf(area); widget && (widget == focus || widget->isAncestorOf(focus)))
                from = area;
    QWidget* target = widgetOf(shell::nextKeyboardArea(areas, from, forward));
    if (!target)
        return;
    const QList<QWidget*> stops = tabStops(*target);
    QWidget* focus = stops.isEmpty() ? nullptr : stops.first();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(target)) {
        // Back in the mode window, the focus returns to the field it was in.
        if (QWidget* last = sub->widget() ? sub->widget()->focusWidget() : nullptr; last && stops.contains(last))
            focus = last;
        if (QMdiArea* frame = sub->mdiArea())
            frame->setActiveSubWindow(sub);
    }
    if (focus)
        focus->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void KeyboardNavigation::stepProfileTab(int step)
{
    const shell::Session& session = m_program.session();
    const std::optional<forms::Mode> mode = session.state().currentMode;
    if (const auto tab = shell::steppedProfileTab(session.windows(), mode, step)) {
        m_program.profileTabClick(*mode, *tab);
        m_binder.draw();
    }
}

} // namespace qm::app
