// Draws the models into the widgets and passes every user event to the program.
#include "app/ViewBinder.h"

#include "app/Accessibility.h"
#include "app/WelcomeWindow.h"
#include "forms/Controls.h"
#include "qt/Latin1.h"
#include "shell/HelpTexts.h"
#include "shell/Program.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

namespace qm::app
{

namespace
{

using qt::latin1;

using qt::toLatin1;

/// A multi-line field holds its line breaks as CR LF; the widget shows them as single line ends.
QString shownText(const std::string& text)
{
    QString shown = latin1(text);
    shown.replace("\r\n", "\n");
    return shown;
}

/// A panel's colours: its background and a text colour that reads on it, whatever the colour scheme's own text
/// colour. The rule names the panel alone, so its tool tip keeps the scheme's colours.
QString colourStyle(const std::string& name, std::uint32_t rgb)
{
    if (rgb == 0)
        return {};
    const int luminance = (299 * static_cast<int>(rgb >> 16) + 587 * static_cast<int>((rgb >> 8) & 0xFF) +
                           114 * static_cast<int>(rgb & 0xFF)) /
                          1000;
    return QString("#%1 { background-color: #%2; color: %3; }")
        .arg(QString::fromStdString(name))
        .arg(rgb, 6, 16, QChar('0'))
        .arg(luminance >= 128 ? "black" : "white");
}

const char* const kOptionBoxes[] = {"ModeLock", "LEDDisable", "AutoMode", "MicEncode"};

/// Names a control's widget for assistive technology by what the control is: its label in the models, never the
/// value it shows or the heading of the group it sits in.
void nameForAssistiveTechnology(const forms::Control& control, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    const std::string label = forms::labelOf(control);
    if (!widget || label.empty())
        return;
    widget->setAccessibleName(latin1(label));
    // An editable list takes its typing in a line of its own, which is what has the focus.
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(latin1(label));
    if (auto* const* strip = std::get_if<forms::TabStrip*>(&control))
        if (auto* tabs = qobject_cast<QTabBar*>(widget))
            for (int tab = 0; tab < tabs->count(); ++tab)
                tabs->setAccessibleTabName(tab, latin1((*strip)->tabLabel(tab)));
}

} // namespace

ViewBinder::ViewBinder(shell::Program& program, std::vector<QWidget*> roots, std::map<std::string, QWidget*> windows)
    : m_program(program), m_input(program), m_windows(std::move(windows))
{
    for (const auto& entry : m_windows) {
        const std::string& name = entry.first;
        auto* sub = qobject_cast<QMdiSubWindow*>(entry.second);
        if (!sub)
            continue;
        // The title bar's close button hides a mode window through the model, so a redraw keeps it closed.
        m_names[sub] = name;
        sub->installEventFilter(this);
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this, name](Qt::WindowStates, Qt::WindowStates state) {
            // The window is in the middle of changing its state: the model follows, nothing is drawn.
            if (!m_drawing)
                m_program.windowMinimized(name, state.testFlag(Qt::WindowMinimized));
        });
    }
    forms::forEachControl(m_program.session().windows(), [&](const std::string& name, forms::Control control) {
        if (m_windows.count(name))
            return;
        const QString objectName = QString::fromStdString(name);
        for (QWidget* root : roots) {
            QObject* found = root->objectName() == objectName ? root : root->findChild<QObject*>(objectName);
            // A submenu and the item that opens it share the name: the item is what the model's state is drawn into.
            if (auto* menu = qobject_cast<QMenu*>(found))
                found = menu->menuAction();
            if (found) {
                bind(name, found);
                nameForAssistiveTechnology(control, found);
                return;
            }
        }
    });
}

QWidget* ViewBinder::widget(const std::string& control) const
{
    if (auto window = m_windows.find(control); window != m_windows.end())
        return window->second;
    auto found = m_objects.find(control);
    return found == m_objects.end() ? nullptr : qobject_cast<QWidget*>(found->second);
}

void ViewBinder::bindLineEdit(const std::string& name, QLineEdit* line, QComboBox* list)
{
    line->installEventFilter(this);
    line->setContextMenuPolicy(Qt::NoContextMenu);
    m_input.attach(line, name, list);
    // The program has taken the edit by now (FieldInput): the windows show what it leaves.
    connect(line, &QLineEdit::textEdited, this, [this] { changed(); });
    // A completion the user picks replaces the text without an edit signal: the model takes it as typed.
    if (QCompleter* completer = line->completer())
        for (const auto signal :
             {qOverload<const QString&>(&QCompleter::activated), qOverload<const QString&>(&QCompleter::highlighted)})
            connect(completer, signal, this, [this, name](const QString& text) {
                if (m_drawing)
                    return;
                m_program.textChanged(name, toLatin1(text));
                changed();
            });
}

void ViewBinder::bind(const std::string& name, QObject* object)
{
    m_objects[name] = object;
    m_names[object] = name;
    if (auto* line = qobject_cast<QLineEdit*>(object)) {
        bindLineEdit(name, line);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(object)) {
        plain->installEventFilter(this);
        plain->setContextMenuPolicy(Qt::NoContextMenu);
        m_input.attach(plain, name);
        connect(plain, &QPlainTextEdit::textChanged, this, [this] {
            if (!m_drawing)
                changed();
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        if (QLineEdit* edit = combo->lineEdit()) {
            // The typing offers the program's completions (FieldInput), and the list's entries are the model's:
            // the list neither completes nor adds an entry of its own.
            combo->setCompleter(nullptr);
            combo->setInsertPolicy(QComboBox::NoInsert);
            m_names[edit] = name;
            bindLineEdit(name, edit, combo);
        }
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, name](int index) {
            m_program.listClick(name, index);
            changed();
        });
    } else if (auto* radio = qobject_cast<QRadioButton*>(object)) {
        // The options stay exclusive in the toolkit too, so the arrow keys choose among them as in any radio group.
        connect(radio, &QRadioButton::clicked, this, [this, name] {
            m_program.optionClick(name);
            changed();
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(object)) {
        connect(check, &QCheckBox::clicked, this, [this, name](bool checked) {
            m_program.checkClick(name, checked);
            changed();
        });
    } else if (auto* tabs = qobject_cast<QTabBar*>(object)) {
        const auto strip = forms::locateControl(m_program.session().windows(), name);
        const std::optional<forms::Mode> mode = strip ? strip->place.mode : std::nullopt;
        connect(tabs, &QTabBar::currentChanged, this, [this, mode](int tab) {
            if (m_drawing)
                return;
            if (mode)
                m_program.profileTabClick(*mode, tab);
            changed();
        });
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        if (const auto item = forms::menuItemNamed(name))
            connect(action, &QAction::triggered, this, [this, id = *item] {
                if (forms::menuEntry(id).handler == forms::MenuHandler::Desktop)
                    emit desktopCommand(id);
                else
                    m_program.menuCommand(id);
                changed();
            });
    } else if (auto* button = qobject_cast<QPushButton*>(object)) {
        connect(button, &QPushButton::clicked, this, [this, name] {
            m_program.buttonClick(name);
            changed();
        });
    }
}

void ViewBinder::changed()
{
    draw();
}

namespace
{

void drawText(const forms::TextField& field, QObject* object)
{
    const auto& text = field.text();
    if (auto* line = qobject_cast<QLineEdit*>(object)) {
        // The typing limit is kept by the field's input rules, not the widget's: a text loaded longer than the
        // limit shows whole, and setting a limit would move the cursor and drop the selection.
        if (line->text() != latin1(text))
            line->setText(latin1(text));
        line->setEnabled(field.enabled());
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(object)) {
        if (plain->toPlainText() != shownText(text))
            plain->setPlainText(shownText(text));
        plain->setEnabled(field.enabled());
    }
}

void drawList(const forms::PickList& list, QObject* object)
{
    auto* combo = qobject_cast<QComboBox*>(object);
    if (!combo)
        return;
    QStringList entries;
    for (const auto& entry : list.entries())
        entries << latin1(entry);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    if (shown != entries) {
        combo->clear();
        combo->addItems(entries);
    }
    if (combo->currentIndex() != list.listIndex())
        combo->setCurrentIndex(list.listIndex());
    if (combo->isEditable() && combo->currentText() != latin1(list.text()))
        combo->setEditText(latin1(list.text()));
    combo->setEnabled(list.enabled());
}

void drawCheck(const std::string& name, const forms::CheckBox& box, QObject* object)
{
    auto* check = qobject_cast<QCheckBox*>(object);
    if (!check)
        return;
    check->setChecked(box.isSet());
    check->setEnabled(box.enabled());
    if (const QString caption = latin1(box.caption()); !caption.isEmpty() && check->text() != caption)
        check->setText(caption);
    for (const char* optionBox : kOptionBoxes)
        if (name == optionBox)
            check->setToolTip(QString::fromStdString(shell::optionToolTip(name, box.isSet())));
}

void drawOption(const forms::OptionRef& option, QRadioButton* radio)
{
    const bool chosen = option.group->value(option.option);
    if (radio->isChecked() == chosen)
        return;
    // An exclusive option is cleared only by choosing another; a group with none chosen clears it on its own.
    const bool exclusive = radio->autoExclusive();
    if (!chosen)
        radio->setAutoExclusive(false);
    radio->setChecked(chosen);
    radio->setAutoExclusive(exclusive);
}

void drawMenuItem(const forms::MenuItem& item, QObject* object)
{
    auto* action = qobject_cast<QAction*>(object);
    if (!action)
        return;
    if (action->isCheckable())
        action->setChecked(item.checked());
    action->setEnabled(item.enabled());
    action->setVisible(item.visible());
    action->setText(QString::fromStdString(item.caption()));
}

void drawLabel(const std::string& name, const forms::Panel& panel, QLabel* label)
{
    // Help texts are UTF-8 (the Tracking text has a typographic apostrophe); captions are single-byte.
    const QString caption = name.size() > 7 && name.compare(name.size() - 7, 7, "HelpBox") == 0
                                ? QString::fromUtf8(panel.caption().c_str())
                                : latin1(panel.caption());
    if (auto* announced = qobject_cast<AnnouncedLabel*>(label))
        announced->setAnnouncedText(caption);
    else if (label->text() != caption)
        label->setText(caption);
    const QString style = colourStyle(name, panel.background());
    if (label->styleSheet() != style)
        label->setStyleSheet(style);
    if (name == "VQ3Status")
        label->setToolTip(panel.toolTip().empty() ? QString::fromStdString(shell::statusToolTip(panel.caption()))
                                                  : latin1(panel.toolTip()));
}

void drawPanel(const std::string& name, const forms::Panel& panel, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return;
    widget->setEnabled(panel.enabled());
    widget->setVisible(panel.visible());
    if (auto* group = qobject_cast<QGroupBox*>(object))
        group->setTitle(latin1(panel.caption()));
    else if (auto* label = qobject_cast<QLabel*>(object))
        drawLabel(name, panel, label);
    else if (auto* button = qobject_cast<QPushButton*>(object); button && button->text() != latin1(panel.caption()))
        button->setText(latin1(panel.caption()));
}

/// Draws one control of the models into the widget bound to its name.
void drawControl(const std::string& name, const forms::Control& control, QObject* object)
{
    if (auto* const* field = std::get_if<forms::TextField*>(&control)) {
        drawText(**field, object);
    } else if (auto* const* list = std::get_if<forms::PickList*>(&control)) {
        drawList(**list, object);
    } else if (const auto* option = std::get_if<forms::OptionRef>(&control)) {
        if (auto* radio = qobject_cast<QRadioButton*>(object))
            drawOption(*option, radio);
    } else if (auto* const* box = std::get_if<forms::CheckBox*>(&control)) {
        drawCheck(name, **box, object);
    } else if (auto* const* item = std::get_if<forms::MenuItem*>(&control)) {
        drawMenuItem(**item, object);
    } else if (auto* const* strip = std::get_if<forms::TabStrip*>(&control)) {
        if (auto* tabs = qobject_cast<QTabBar*>(object))
            tabs->setCurrentIndex((*strip)->selectedIndex());
    } else if (auto* const* panel = std::get_if<forms::Panel*>(&control)) {
        drawPanel(name, **panel, object);
    }
}

} // namespace

void ViewBinder::draw()
{
    if (m_drawing)
        return;
    m_drawing = true;
    m_input.setProgramWriting(true);
    m_program.settleMenus();
    forms::forEachControl(m_program.session().windows(), [&](const std::string& name, forms::Control control) {
        if (auto window = m_windows.find(name); window != m_windows.end()) {
            drawWindow(name, *std::get<forms::Panel*>(control), window->second);
            return;
        }
        if (auto found = m_objects.find(name); found != m_objects.end())
            drawControl(name, control, found->second);
    });
    if (m_afterDraw)
        m_afterDraw();
    m_input.setProgramWriting(false);
    m_drawing = false;
}

void ViewBinder::drawWindow(const std::string& name, const forms::Panel& panel, QWidget* widget)
{
    if (name == "MDIForm1") {
        // The main window's title also names the file and marks changes that are not in it.
        if (const QString title = latin1(m_program.windowTitle()); widget->windowTitle() != title)
            widget->setWindowTitle(title);
        widget->setEnabled(panel.enabled());
        return;
    }
    if (!panel.caption().empty() && widget->windowTitle() != latin1(panel.caption()))
        widget->setWindowTitle(latin1(panel.caption()));
    if (auto* sub = qobject_cast<QMdiSubWindow*>(widget)) {
        // A mode window shown, or restored from its icon, comes to the front as the window being edited.
        const bool wasShown = sub->isVisible() && !sub->isMinimized();
        if (sub->isVisible() != panel.visible())
            sub->setVisible(panel.visible());
        // The window's own buttons minimise and restore it before the model hears of it (its fields lose the
        // focus first, which draws): only a change the model made is drawn.
        bool& minimized = m_drawnMinimized[name];
        if (minimized != panel.minimized()) {
            minimized = panel.minimized();
            if (panel.visible() && sub->isMinimized() != minimized) {
                if (minimized)
                    sub->showMinimized();
                else
                    sub->showNormal();
            }
        }
        if (!wasShown && sub->isVisible() && !sub->isMinimized()) {
            sub->raise();
            if (QMdiArea* area = sub->mdiArea())
                area->setActiveSubWindow(sub);
        }
        return;
    }
    if (widget->isVisible() != panel.visible()) {
        widget->setVisible(panel.visible());
        if (panel.visible())
            widget->raise();
    }
    if (auto* welcome = qobject_cast<WelcomeWindow*>(widget))
        welcome->setTopmost(m_program.session().windows().welcome.topmost);
    if (auto* bar = widget->findChild<QProgressBar*>("PrintProgress"))
        bar->setValue(m_program.session().windows().printProgress.PrintProgress);
}

bool ViewBinder::eventFilter(QObject* watched, QEvent* event)
{
    auto named = m_names.find(watched);
    if (named == m_names.end())
        return QObject::eventFilter(watched, event);
    const std::string& name = named->second;
    switch (event->type()) {
    case QEvent::Close:
        if (qobject_cast<QMdiSubWindow*>(watched)) {
            event->ignore();
            m_program.windowClosed(name);
            changed();
            return true;
        }
        break;
    case QEvent::FocusOut:
        m_program.lostFocus(name);
        changed();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qm::app
