// A multi-line text field whose pasted, dropped and middle-click-pasted text passes a filter before it is
// inserted, so no text reaches the field around its typing rules.
#pragma once

#include <QPlainTextEdit>

#include <functional>

namespace qm::app
{

class TextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    /// Returns what of a text offered for insertion at the cursor the field takes.
    using InsertionFilter = std::function<QString(const QString& offered)>;

    explicit TextBox(QWidget* parent = nullptr);

    void setInsertionFilter(InsertionFilter filter) { m_filter = std::move(filter); }

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    InsertionFilter m_filter;
};

} // namespace qm::app
