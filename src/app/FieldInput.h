// What the user puts into the text fields of the windows, however it gets there: typed keys, pastes, middle-click
// pastes of the selection and drops all pass the field's typing filter one character at a time and stop at its
// typing limit, at the cursor. Editing keys (Delete, Backspace, arrows, Home, End, the Ctrl shortcuts) are not
// characters and always reach the field. A click into a field selects its whole text. A character typed at the end
// of an editable pick list's text brings the completion the program offers, selected, so the next key replaces it;
// Tab, Enter, End or a click takes it.
#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <string>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace qm::shell
{
class Program;
}

namespace qm::app
{

class FieldInput : public QObject
{
    Q_OBJECT

public:
    explicit FieldInput(shell::Program& program, QObject* parent = nullptr);

    /// Takes charge of what enters a single-line field (a text field or an editable pick list's edit). The keys
    /// typed into an editable pick list reach its edit field through the list.
    void attach(QLineEdit* line, const std::string& name, QComboBox* list = nullptr);
    /// Takes charge of what enters a multi-line field.
    void attach(QPlainTextEdit* box, const std::string& name);

    /// While set, texts the program itself writes into the fields (drawing its models) pass unchanged.
    void setProgramWriting(bool writing) { m_programWriting = writing; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Field
    {
        std::string name;
        QLineEdit* line = nullptr;
        QPlainTextEdit* box = nullptr;
        /// The editable pick list whose edit field the line is.
        QComboBox* list = nullptr;
    };

    bool keyPressed(const Field& field, QKeyEvent* event);
    /// Returns the characters of a text the field takes, one at a time through its typing filter; line breaks
    /// (CR LF, LF CR, CR, LF) become one line end in a multi-line field and vanish elsewhere.
    QString accepted(const Field& field, const QString& text);
    /// Returns as much of an accepted text as fits the field's typing limit in place of its selection.
    QString fitting(const Field& field, const QString& text) const;
    /// Puts the user's change of a line edit's text right: what it inserted passes the filter and the limit.
    void correct(const Field& field, QString& text, int& cursor);
    void insertAtCursor(const Field& field, const QString& text);
    /// Types a character into an editable pick list and offers the completion of what it then holds.
    void typeIntoList(const Field& field, const QString& text);
    /// The typing limit of the field's model, in stored characters (a line end is two); 0 for none.
    qsizetype limit(const Field& field) const;
    QString modelText(const Field& field) const;

    shell::Program& m_program;
    /// The fields by their widgets (a multi-line field also by its viewport, which takes its mouse events).
    std::map<QObject*, Field> m_fields;
    bool m_programWriting = false;
    bool m_restoring = false;
};

} // namespace qm::app
