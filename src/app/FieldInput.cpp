// What the user puts into the text fields, through each field's typing filter and limit.
#include "app/FieldInput.h"

#include "app/TextBox.h"
#include "forms/Controls.h"
#include "qt/Latin1.h"
#include "shell/Keyboard.h"
#include "shell/Program.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <functional>

namespace qm::app
{

namespace
{

/// Hands every change of a line edit's text to a correction before the line edit takes it.
class CorrectingValidator : public QValidator
{
public:
    using Correction = std::function<void(QString& text, int& cursor)>;

    CorrectingValidator(Correction correction, QObject* parent)
        : QValidator(parent), m_correction(std::move(correction))
    {}

    State validate(QString& text, int& cursor) const override
    {
        m_correction(text, cursor);
        return Acceptable;
    }

private:
    Correction m_correction;
};

bool isLineBreak(char32_t c)
{
    return c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029;
}

/// Control characters (C0, DEL, C1) are no text a field takes.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

/// Keys that move or edit instead of entering a character, and every shortcut.
bool isEditingKey(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return true;
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Insert:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return event.text().isEmpty();
    }
}

/// The length of a shown text as the model stores it: a multi-line field keeps each line end as CR LF.
qsizetype storedLength(const QString& shown, bool multiLine)
{
    qsizetype length = shown.size();
    if (multiLine)
        for (const QChar c : shown)
            if (isLineBreak(c.unicode()))
                ++length;
    return length;
}

using qt::latin1;
using qt::toLatin1;

} // namespace

FieldInput::FieldInput(shell::Program& program, QObject* parent) : QObject(parent), m_program(program)
{}

void FieldInput::attach(QLineEdit* line, const std::string& name, QComboBox* list)
{
    m_fields[line] = Field{name, line, nullptr, list};
    line->installEventFilter(this);
    if (list) {
        // A pick list hands the keys typed into it straight to its edit field, past the field's event filters.
        m_fields[list] = m_fields[line];
        list->installEventFilter(this);
    }
    // Middle-click pastes, drops and anything else that changes the text without a key pass here. The validator
    // goes with this object: a field that outlives it no longer calls it.
    line->setValidator(new CorrectingValidator(
        [this, line](QString& text, int& cursor) { correct(m_fields.at(line), text, cursor); }, this));
}

void FieldInput::attach(QPlainTextEdit* box, const std::string& name)
{
    const Field field{name, nullptr, box};
    m_fields[box] = field;
    m_fields[box->viewport()] = field;
    box->installEventFilter(this);
    box->viewport()->installEventFilter(this);
    if (auto* textBox = qobject_cast<TextBox*>(box))
        textBox->setInsertionFilter([input = QPointer<FieldInput>(this), box](const QString& offered) {
            if (!input)
                return QString();
            const Field& target = input->m_fields.at(box);
            return input->fitting(target, input->accepted(target, offered));
        });
}

bool FieldInput::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = m_fields.find(watched);
    if (found == m_fields.end())
        return QObject::eventFilter(watched, event);
    const Field& field = found->second;
    if (event->type() == QEvent::KeyPress && (watched == field.line || watched == field.box || watched == field.list))
        return keyPressed(field, static_cast<QKeyEvent*>(event));
    if (watched == field.list)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // A click selects the whole text, so that the next key replaces it; a drag keeps what it selected. The
        // field handles the release first.
        if (QLineEdit* line = field.line)
            QTimer::singleShot(0, line, [line] {
                if (!line->hasSelectedText())
                    line->selectAll();
            });
        if (QPlainTextEdit* box = field.box)
            QTimer::singleShot(0, box, [box] {
                if (!box->textCursor().hasSelection())
                    box->selectAll();
            });
    }
    return QObject::eventFilter(watched, event);
}

bool FieldInput::keyPressed(const Field& field, QKeyEvent* event)
{
    if (field.line && (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))) {
        // Undo and redo return to texts the field has held: they pass as they are.
        m_restoring = true;
        if (event->matches(QKeySequence::Undo))
            field.line->undo();
        else
            field.line->redo();
        m_restoring = false;
        return true;
    }
    if (field.line && event->matches(QKeySequence::Paste)) {
        insertAtCursor(field, fitting(field, accepted(field, QApplication::clipboard()->text())));
        return true;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (field.box && enter)
        return fitting(field, QStringLiteral("\n")).isEmpty();
    // Enter takes a completion offered: the whole text stays, the cursor at its end.
    if (field.list && enter && field.line->hasSelectedText() && field.line->selectionEnd() == field.line->text().size())
        field.line->end(false);
    if (isEditingKey(*event))
        return false;
    const QString typed = event->text();
    const QString taken = fitting(field, accepted(field, typed));
    if (field.list) {
        typeIntoList(field, taken);
        return true;
    }
    if (taken == typed)
        return false;
    insertAtCursor(field, taken);
    return true;
}

QString FieldInput::accepted(const Field& field, const QString& text)
{
    QString taken;
    const QList<uint> codes = text.toUcs4();
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const char32_t code = codes[i];
        if (isLineBreak(code)) {
            const char32_t next = i + 1 < codes.size() ? codes[i + 1] : 0;
            if ((code == U'\r' && next == U'\n') || (code == U'\n' && next == U'\r'))
                ++i;
            if (field.box)
                taken += QChar('\n');
            continue;
        }
        if (isControl(code))
            continue;
        if (const auto character = m_program.keyPress(field.name, code))
            taken += QChar(static_cast<unsigned char>(*character));
    }
    return taken;
}

QString FieldInput::fitting(const Field& field, const QString& text) const
{
    const qsizetype most = limit(field);
    if (most == 0)
        return text;
    qsizetype used = 0;
    if (field.line) {
        used = field.line->text().size() - field.line->selectedText().size();
    } else {
        const QTextCursor cursor = field.box->textCursor();
        used = storedLength(field.box->toPlainText(), true) - storedLength(cursor.selectedText(), true);
    }
    qsizetype room = most - used;
    QString taken;
    for (const QChar c : text) {
        const qsizetype cost = field.box && c == QChar('\n') ? 2 : 1;
        if (cost > room)
            break;
        room -= cost;
        taken += c;
    }
    return taken;
}

void FieldInput::correct(const Field& field, QString& text, int& cursor)
{
    if (m_programWriting || m_restoring)
        return;
    const QString before = modelText(field);
    // What the change inserted lies between what stayed of the text before it on either side, the cursor at its
    // end.
    const qsizetype mostBefore = std::min<qsizetype>(cursor, before.size());
    qsizetype prefix = 0;
    while (prefix < mostBefore && before[prefix] == text[prefix])
        ++prefix;
    const qsizetype mostAfter = std::min(text.size(), before.size()) - prefix;
    qsizetype suffix = 0;
    while (suffix < mostAfter && before[before.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    const QString inserted = text.mid(prefix, text.size() - prefix - suffix);
    if (inserted.isEmpty())
        return;
    QString taken = accepted(field, inserted);
    if (const qsizetype most = limit(field); most > 0)
        taken = taken.left(std::max<qsizetype>(0, most - (text.size() - inserted.size())));
    if (taken == inserted)
        return;
    text = text.left(prefix) + taken + text.right(suffix);
    cursor = static_cast<int>(prefix + taken.size());
}

void FieldInput::insertAtCursor(const Field& field, const QString& text)
{
    if (text.isEmpty())
        return;
    if (field.line)
        field.line->insert(text);
    else
        field.box->insertPlainText(text);
}

void FieldInput::typeIntoList(const Field& field, const QString& text)
{
    QLineEdit* line = field.line;
    insertAtCursor(field, text);
    if (text.isEmpty() || line->hasSelectedText() || line->cursorPosition() != line->text().size())
        return;
    const auto control = forms::findControl(m_program.session().windows(), field.name);
    auto* const* list = control ? std::get_if<forms::PickList*>(&*control) : nullptr;
    if (!list)
        return;
    // The completion passes the field's typing filter as typed characters do.
    const QString rest = accepted(field, latin1(shell::listCompletion(**list, toLatin1(line->text()))));
    if (rest.isEmpty())
        return;
    insertAtCursor(field, rest);
    line->cursorBackward(true, static_cast<int>(rest.size()));
}

qsizetype FieldInput::limit(const Field& field) const
{
    const auto control = forms::findControl(m_program.session().windows(), field.name);
    auto* const* text = control ? std::get_if<forms::TextField*>(&*control) : nullptr;
    return text ? static_cast<qsizetype>((*text)->maxLength()) : 0;
}

QString FieldInput::modelText(const Field& field) const
{
    const auto control = forms::findControl(m_program.session().windows(), field.name);
    if (!control)
        return {};
    if (auto* const* text = std::get_if<forms::TextField*>(&*control))
        return latin1((*text)->text());
    if (auto* const* list = std::get_if<forms::PickList*>(&*control))
        return latin1((*list)->text());
    return {};
}

} // namespace qm::app
