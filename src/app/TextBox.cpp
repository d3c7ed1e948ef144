// A multi-line text field whose inserted text passes a filter first.
#include "app/TextBox.h"

#include <QMimeData>

namespace qm::app
{

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent)
{}

void TextBox::insertFromMimeData(const QMimeData* source)
{
    // Every paste, drop and middle-click paste of the text control arrives here; rich text is taken as plain.
    if (!source || !source->hasText())
        return;
    const QString offered = source->text();
    const QString taken = m_filter ? m_filter(offered) : offered;
    if (!taken.isEmpty())
        insertPlainText(taken);
    ensureCursorVisible();
}

} // namespace qm::app
