// What assistive technology reads from the program's windows beyond what the toolkit gives on its own.
#include "app/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QWidget>

#include <map>

namespace qm::app
{

namespace
{

/// A caption as it is read: the mnemonic marks left out ("&Ok" is "Ok", "&&" is "&").
QString withoutMnemonics(const QString& caption)
{
    QString text;
    for (qsizetype at = 0; at < caption.size(); ++at) {
        if (caption[at] == u'&' && at + 1 < caption.size())
            ++at;
        text += caption[at];
    }
    return text;
}

// The toolkit names a pick list on Linux by the entry it shows ("293 ms *"), leaving what it is to a label relation
// that not every field has: a pick list given a name is read by that name, its entry as its value.
class PickListAccessible : public QAccessibleWidget
{
public:
    explicit PickListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox)
    {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    int childCount() const override { return list()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(list()->view());
        if (index == 1 && list()->isEditable())
            return QAccessible::queryAccessibleInterface(list()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child == nullptr)
            return -1;
        if (child->object() == list()->view())
            return 0;
        if (list()->isEditable() && child->object() == list()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        QLineEdit* edit = list()->lineEdit();
        if (edit && edit->rect().contains(edit->mapFromGlobal(QPoint(x, y))))
            return child(1);
        return nullptr;
    }

    // An editable list takes its typing in its own line: that line is what has the focus.
    QAccessibleInterface* focusChild() const override { return list()->isEditable() ? child(1) : nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        QString value = list()->isEditable() ? list()->lineEdit()->text() : list()->currentText();
        if (kind == QAccessible::Value)
            return value;
        if (kind == QAccessible::Name && !widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        // An unnamed list is read as the toolkit reads it: by its entry, else by its label.
        if (kind == QAccessible::Name && !value.isEmpty())
            return value;
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        state.editable = list()->isEditable();
        return state;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

class TabStripAccessible;

// One tab of a strip. It has the focus only while its strip has it and it is the tab on show: the toolkit's own
// tab reports the focus whenever it is on show, wherever the focus is.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TabAccessible(QTabBar* tabs, int index) : m_tabs(tabs), m_index(index) {}

    bool isValid() const override { return m_tabs && m_index < m_tabs->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        QAccessibleInterface* strip = parent();
        return strip ? strip->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_tabs.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name) {
            const QString name = m_tabs->accessibleTabName(m_index);
            return name.isEmpty() ? withoutMnemonics(m_tabs->tabText(m_index)) : name;
        }
        if (kind == QAccessible::Description)
            return m_tabs->tabToolTip(m_index);
        return {};
    }

    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = m_tabs->tabRect(m_index);
        return QRect(m_tabs->mapToGlobal(tab.topLeft()), tab.size());
    }

    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool shown = m_index == m_tabs->currentIndex();
        state.focusable = true;
        state.selectable = true;
        state.selected = shown;
        state.focused = shown && m_tabs->hasFocus();
        state.disabled = !m_tabs->isEnabled() || !m_tabs->isTabEnabled(m_index);
        state.invisible = !m_tabs->isVisible() || !m_tabs->isTabVisible(m_index);
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && isValid())
            m_tabs->setCurrentIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> m_tabs;
    int m_index;
};

class TabStripAccessible : public QAccessibleWidget
{
public:
    explicit TabStripAccessible(QTabBar* tabs) : QAccessibleWidget(tabs, QAccessible::PageTabList) {}

    ~TabStripAccessible() override
    {
        for (const auto& tab : m_tabs)
            QAccessible::deleteAccessibleInterface(tab.second);
    }

    TabStripAccessible(const TabStripAccessible&) = delete;
    TabStripAccessible& operator=(const TabStripAccessible&) = delete;

    int childCount() const override { return tabs()->count(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= tabs()->count())
            return nullptr;
        auto found = m_tabs.find(index);
        if (found == m_tabs.end())
            found =
                m_tabs.emplace(index, QAccessible::registerAccessibleInterface(new TabAccessible(tabs(), index))).first;
        return QAccessible::accessibleInterface(found->second);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (const auto& tab : m_tabs)
            if (QAccessible::accessibleInterface(tab.second) == child)
                return tab.first;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const int index = tabs()->tabAt(tabs()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        return tabs()->hasFocus() ? child(tabs()->currentIndex()) : nullptr;
    }

private:
    QTabBar* tabs() const { return static_cast<QTabBar*>(widget()); }

    mutable std::map<int, QAccessible::Id> m_tabs;
};

// A notification is what a screen reader says when it appears, whatever has the focus.
class AnnouncedLabelAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncedLabelAccessible(AnnouncedLabel* label) : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* programInterface(const QString& key, QObject* object)
{
    if (key == QLatin1String(AnnouncedLabel::staticMetaObject.className()))
        if (auto* label = qobject_cast<AnnouncedLabel*>(object))
            return new AnnouncedLabelAccessible(label);
    if (key == QLatin1String("QComboBox"))
        if (auto* list = qobject_cast<QComboBox*>(object))
            return new PickListAccessible(list);
    if (key == QLatin1String("QTabBar"))
        if (auto* tabs = qobject_cast<QTabBar*>(object))
            return new TabStripAccessible(tabs);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(programInterface);
        return true;
    }();
    (void)installed;
}

AnnouncedLabel::AnnouncedLabel(QWidget* parent) : QLabel(parent)
{}

void AnnouncedLabel::setAnnouncedText(const QString& text)
{
    if (text == this->text())
        return;
    setText(text);
    // A notification is announced when it is shown: showing it again says its new text.
    if (isVisible()) {
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

} // namespace qm::app
