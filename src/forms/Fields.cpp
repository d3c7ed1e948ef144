// The kinds of control a window model is made of.
#include "forms/Fields.h"

#include <cassert>
#include <utility>

namespace qm::forms
{

TextField::TextField(std::string name, std::size_t maxLength, Lines lines)
    : m_name(std::move(name)), m_maxLength(maxLength), m_lines(lines)
{}

PickList::PickList(std::string name, bool editable) : m_name(std::move(name)), m_editable(editable)
{}

bool PickList::setListIndex(int index)
{
    if (index < -1 || index >= count())
        return false;
    m_index = index;
    if (m_editable && index >= 0)
        m_text = m_entries[static_cast<std::size_t>(index)];
    return true;
}

std::string PickList::text() const
{
    if (m_editable)
        return m_text;
    return m_index >= 0 ? m_entries[static_cast<std::size_t>(m_index)] : std::string();
}

void PickList::setText(std::string_view text)
{
    if (m_editable)
        m_text.assign(text);
}

void PickList::addItem(std::string entry)
{
    m_entries.push_back(std::move(entry));
}

void PickList::replaceItem(int index, std::string entry)
{
    assert(index >= 0 && index < count());
    m_entries[static_cast<std::size_t>(index)] = std::move(entry);
}

void PickList::clear()
{
    m_entries.clear();
    m_index = -1;
}

OptionGroup::OptionGroup(std::vector<std::string> names, std::vector<std::string> labels)
    : m_names(std::move(names)), m_labels(std::move(labels))
{
    assert(m_labels.size() == m_names.size());
}

void OptionGroup::setValue(int option, bool value)
{
    assert(option >= 0 && option < size());
    if (value)
        m_selected = option;
    else if (m_selected == option)
        m_selected = -1;
}

CheckBox::CheckBox(std::string name, std::string caption) : m_name(std::move(name)), m_caption(std::move(caption))
{}

MenuItem::MenuItem(std::string name, std::string caption) : m_name(std::move(name)), m_caption(std::move(caption))
{}

Panel::Panel(std::string name, std::string caption) : m_name(std::move(name)), m_caption(std::move(caption))
{}

TabStrip::TabStrip(std::string name) : m_name(std::move(name))
{}

} // namespace qm::forms
