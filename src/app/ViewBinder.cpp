// Draws the models into the widgets and passes every user event to the program.
#include "app/ViewBinder.h"

#include "app/WelcomeWindow.h"
#include "forms/Controls.h"
#include "shell/HelpTexts.h"
#include "shell/Program.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace qm::app
{

namespace
{

QString latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toLatin1(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

/// A multi-line field holds its line breaks as CR LF; the widget shows them as single line ends.
QString shownText(const std::string& text)
{
    QString shown = latin1(text);
    shown.replace("\r\n", "\n");
    return shown;
}

std::string storedText(const QString& shown)
{
    QString text = shown;
    text.replace("\n", "\r\n");
    return toLatin1(text);
}

QString colourStyle(std::uint32_t rgb)
{
    if (rgb == 0)
        return {};
    return QString("background-color: #%1;").arg(rgb, 6, 16, QChar('0'));
}

const char* const kOptionBoxes[] = {"ModeLock", "LEDDisable", "AutoMode", "MicEncode"};

} // namespace

ViewBinder::ViewBinder(shell::Program& program, std::vector<QWidget*> roots, std::map<std::string, QWidget*> windows)
    : m_program(program), m_windows(std::move(windows))
{
    forms::forEachControl(m_program.form().windows(), [&](const std::string& name, forms::Control) {
        if (m_windows.count(name))
            return;
        const QString objectName = QString::fromStdString(name);
        for (QWidget* root : roots) {
            QObject* found = root->objectName() == objectName ? root : root->findChild<QObject*>(objectName);
            if (found) {
                bind(name, found);
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

void ViewBinder::bind(const std::string& name, QObject* object)
{
    m_objects[name] = object;
    m_names[object] = name;
    if (auto* line = qobject_cast<QLineEdit*>(object)) {
        line->installEventFilter(this);
        line->setContextMenuPolicy(Qt::NoContextMenu);
        connect(line, &QLineEdit::textEdited, this, [this, name](const QString& text) {
            m_program.textChanged(name, toLatin1(text));
            changed();
        });
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(object)) {
        plain->installEventFilter(this);
        plain->setContextMenuPolicy(Qt::NoContextMenu);
        connect(plain, &QPlainTextEdit::textChanged, this, [this, name, plain] {
            if (m_drawing)
                return;
            m_program.textChanged(name, storedText(plain->toPlainText()));
            changed();
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        if (QLineEdit* edit = combo->lineEdit()) {
            m_names[edit] = name;
            edit->installEventFilter(this);
            edit->setContextMenuPolicy(Qt::NoContextMenu);
            connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
                m_program.textChanged(name, toLatin1(text));
                changed();
            });
        }
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, name](int index) {
            m_program.listClick(name, index);
            changed();
        });
    } else if (auto* radio = qobject_cast<QRadioButton*>(object)) {
        // The model keeps the group exclusive, and a group may have no option chosen at all.
        radio->setAutoExclusive(false);
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
        connect(tabs, &QTabBar::currentChanged, this, [this, name](int tab) {
            if (m_drawing)
                return;
            if (const auto mode = forms::controlMode(name))
                m_program.profileTabClick(*mode, tab);
            changed();
        });
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        connect(action, &QAction::triggered, this, [this, name] {
            if (name == "about")
                emit aboutRequested();
            else
                m_program.menuCommand(name);
            changed();
        });
    } else if (auto* button = qobject_cast<QPushButton*>(object)) {
        if (name == "ConnectButton")
            connect(button, &QPushButton::clicked, this, [this] {
                m_program.ConnectButton_Click();
                changed();
            });
    }
}

void ViewBinder::changed()
{
    draw();
}

void ViewBinder::draw()
{
    if (m_drawing)
        return;
    m_drawing = true;
    forms::forEachControl(m_program.form().windows(), [&](const std::string& name, forms::Control control) {
        if (auto window = m_windows.find(name); window != m_windows.end()) {
            const auto* panel = std::get<forms::Panel*>(control);
            QWidget* widget = window->second;
            if (!panel->caption().empty())
                widget->setWindowTitle(latin1(panel->caption()));
            if (name == "MDIForm1") {
                widget->setEnabled(panel->enabled());
            } else if (widget->isVisible() != panel->visible()) {
                widget->setVisible(panel->visible());
                if (panel->visible())
                    widget->raise();
            }
            if (auto* welcome = qobject_cast<WelcomeWindow*>(widget))
                welcome->setTopmost(m_program.form().windows().Form6.topmost);
            if (auto* bar = widget->findChild<QProgressBar*>("PrintProgress"))
                bar->setValue(m_program.form().windows().Form8.PrintProgress);
            return;
        }
        auto found = m_objects.find(name);
        if (found == m_objects.end())
            return;
        QObject* object = found->second;
        if (auto** field = std::get_if<forms::TextField*>(&control)) {
            const auto& text = (*field)->text();
            if (auto* line = qobject_cast<QLineEdit*>(object)) {
                const auto limit =
                    (*field)->maxLength() == 0 ? std::size_t{32767} : std::max((*field)->maxLength(), text.size());
                line->setMaxLength(static_cast<int>(limit));
                if (line->text() != latin1(text))
                    line->setText(latin1(text));
                line->setEnabled((*field)->enabled());
            } else if (auto* plain = qobject_cast<QPlainTextEdit*>(object)) {
                if (plain->toPlainText() != shownText(text))
                    plain->setPlainText(shownText(text));
                plain->setEnabled((*field)->enabled());
            }
        } else if (auto** list = std::get_if<forms::PickList*>(&control)) {
            auto* combo = qobject_cast<QComboBox*>(object);
            if (!combo)
                return;
            QStringList entries;
            for (const auto& entry : (*list)->entries())
                entries << latin1(entry);
            QStringList shown;
            for (int i = 0; i < combo->count(); ++i)
                shown << combo->itemText(i);
            if (shown != entries) {
                combo->clear();
                combo->addItems(entries);
            }
            if (combo->currentIndex() != (*list)->listIndex())
                combo->setCurrentIndex((*list)->listIndex());
            if (combo->isEditable() && combo->currentText() != latin1((*list)->text()))
                combo->setEditText(latin1((*list)->text()));
            combo->setEnabled((*list)->enabled());
        } else if (auto* option = std::get_if<forms::OptionRef>(&control)) {
            if (auto* radio = qobject_cast<QRadioButton*>(object))
                radio->setChecked(option->group->value(option->option));
        } else if (auto** box = std::get_if<forms::CheckBox*>(&control)) {
            if (auto* check = qobject_cast<QCheckBox*>(object)) {
                check->setChecked((*box)->isSet());
                check->setEnabled((*box)->enabled());
                for (const char* optionBox : kOptionBoxes)
                    if (name == optionBox)
                        check->setToolTip(QString::fromStdString(shell::optionToolTip(name, (*box)->isSet())));
            }
        } else if (auto** item = std::get_if<forms::MenuItem*>(&control)) {
            if (auto* action = qobject_cast<QAction*>(object)) {
                if (action->isCheckable())
                    action->setChecked((*item)->checked());
                action->setEnabled((*item)->enabled());
                action->setVisible((*item)->visible());
                action->setText(latin1((*item)->caption()));
            }
        } else if (auto** strip = std::get_if<forms::TabStrip*>(&control)) {
            if (auto* tabs = qobject_cast<QTabBar*>(object))
                tabs->setCurrentIndex((*strip)->selectedIndex());
        } else if (auto** panel = std::get_if<forms::Panel*>(&control)) {
            auto* widget = qobject_cast<QWidget*>(object);
            if (!widget)
                return;
            widget->setEnabled((*panel)->enabled());
            widget->setVisible((*panel)->visible());
            if (auto* group = qobject_cast<QGroupBox*>(object)) {
                group->setTitle(latin1((*panel)->caption()));
            } else if (auto* label = qobject_cast<QLabel*>(object)) {
                // Help texts are UTF-8 (the Tracking text has a typographic apostrophe); captions are single-byte.
                label->setText(name.size() > 7 && name.compare(name.size() - 7, 7, "HelpBox") == 0
                                   ? QString::fromUtf8((*panel)->caption().c_str())
                                   : latin1((*panel)->caption()));
                label->setStyleSheet(colourStyle((*panel)->background()));
                if (name == "VQ3Status")
                    label->setToolTip((*panel)->toolTip().empty()
                                          ? QString::fromStdString(shell::statusToolTip((*panel)->caption()))
                                          : latin1((*panel)->toolTip()));
            }
        }
    });
    m_drawing = false;
}

bool ViewBinder::filterKey(QWidget* field, const std::string& name, QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteInto(field, name);
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    const char32_t key = text.toUcs4().value(0);
    if (key < 0x20 && key != 0x08)
        return false;
    const auto character = m_program.keyPress(name, key);
    if (!character)
        return true;
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        auto control = forms::findControl(m_program.form().windows(), name);
        auto** textField = control ? std::get_if<forms::TextField*>(&*control) : nullptr;
        const qsizetype limit = textField && (*textField)->maxLength() > 0
                                    ? static_cast<qsizetype>((*textField)->maxLength())
                                    : std::numeric_limits<qsizetype>::max();
        if (key != 0x08 && line->text().size() - line->selectedText().size() >= limit)
            return true;
        if (static_cast<char32_t>(static_cast<unsigned char>(*character)) != key) {
            line->insert(QString(QChar(static_cast<unsigned char>(*character))));
            m_program.textChanged(name, toLatin1(line->text()));
            changed();
            return true;
        }
    }
    return false;
}

void ViewBinder::pasteInto(QWidget* field, const std::string& name)
{
    // A pasted text goes through the same filter as typed keys, one character at a time.
    QString accepted;
    for (char32_t key : QApplication::clipboard()->text().toUcs4()) {
        const bool lineBreak = key == U'\r' || key == U'\n';
        if (lineBreak && qobject_cast<QPlainTextEdit*>(field)) {
            if (key == U'\n')
                accepted += QChar('\n');
            continue;
        }
        if (lineBreak || key < 0x20)
            continue;
        if (const auto character = m_program.keyPress(name, key))
            accepted += QChar(static_cast<unsigned char>(*character));
    }
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        auto control = forms::findControl(m_program.form().windows(), name);
        auto** textField = control ? std::get_if<forms::TextField*>(&*control) : nullptr;
        if (textField && (*textField)->maxLength() > 0) {
            const qsizetype room =
                static_cast<qsizetype>((*textField)->maxLength()) - (line->text().size() - line->selectedText().size());
            accepted = accepted.left(std::max<qsizetype>(room, 0));
        }
        line->insert(accepted);
        m_program.textChanged(name, toLatin1(line->text()));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        plain->insertPlainText(accepted);
    }
    changed();
}

bool ViewBinder::eventFilter(QObject* watched, QEvent* event)
{
    auto named = m_names.find(watched);
    if (named == m_names.end())
        return QObject::eventFilter(watched, event);
    const std::string& name = named->second;
    auto* field = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(field, name, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonRelease:
        // A click into a field selects its whole text, so the next key replaces it.
        if (auto* line = qobject_cast<QLineEdit*>(field))
            QTimer::singleShot(0, line, &QLineEdit::selectAll);
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
            QTimer::singleShot(0, plain, &QPlainTextEdit::selectAll);
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
