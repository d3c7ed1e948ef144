// What the user puts into the text fields of the windows, however it gets there: typed keys, pastes, middle-click
// pastes of the selection and drops all go to the program, which decides what enters in place of the selection
// (the field's typing filter and limit), and the widget shows what it decided. Editing keys (Delete, Backspace,
// arrows, Home, End, the Ctrl shortcuts) are not characters and always reach the field; the program takes what
// they leave. A click into a field selects its whole text. A character typed at the end
// of an editable pick list's text brings the completion the program offers, selected, so the next key replaces it;
// Tab, Enter, End or a click takes it.
#pragma once

#include "validation/TextEntry.h"

#include <QObject>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <utility>

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
    /// Where the field's selection (or cursor) lies in the text as the model stores it.
    std::pair<std::size_t, std::size_t> selection(const Field& field) const;
    /// Offers text to the field in place of its selection: the program decides what enters and takes it (one
    /// trip); returns the part that entered, as the field shows it. With complete, typing up to the end of an
    /// editable pick list's text brings its completion (completion gets its length).
    QString offer(const Field& field, const QString& text, bool complete, int* completion = nullptr);
    /// Offers text and puts what entered into the widget at its selection, a completion selected after it.
    void enter(const Field& field, const QString& text, bool complete);
    /// Undo or redo in the field: the texts it returns to pass as they are.
    void restore(const Field& field, bool undo);
    void restored(const Field& field, const QString& text);
    /// Offers the program the change that took the field's text from before to after (the cursor at the end of what
    /// was inserted) and returns what the field then holds.
    validation::EnteredText enterChange(const Field& field, const QString& before, const QString& after,
                                        qsizetype cursor);
    /// What the program took of a change the field made by itself, where it differs from the field's text.
    struct Taken
    {
        QString text;
        std::size_t cursor = 0;
    };
    /// Offers the program the field's own change to text (the cursor in the stored form); nothing while the program
    /// writes, while this object enters, while undo restores, or when the program took the change as it is.
    std::optional<Taken> takeChange(const Field& field, const QString& text, qsizetype cursor);
    /// The user changed a line edit's text some other way (deleted, cut, dropped, middle-click pasted): the
    /// program takes the change and the text is put right where the program took less than was inserted.
    void lineChanged(const Field& field, QString& text, int& cursor);
    /// The same for a multi-line field, after the change.
    void boxChanged(const Field& field);
    QString modelText(const Field& field) const;

    shell::Program& m_program;
    /// The fields by their widgets (a multi-line field also by its viewport, which takes its mouse events).
    std::map<QObject*, Field> m_fields;
    bool m_programWriting = false;
    /// While set, the fields' own change reports pass: the change is one this object made or the program took.
    bool m_entering = false;
    /// While set, the field reports a text undo or redo returned it to.
    bool m_restoring = false;
};

} // namespace qm::app
