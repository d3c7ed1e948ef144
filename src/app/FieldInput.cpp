// What the user puts into the text fields, through each field's typing filter and limit.
#include "app/FieldInput.h"

#include "app/TextBox.h"
#include "forms/Controls.h"
#include "qt/Latin1.h"
#include "shell/Program.h"
#include "validation/TextEntry.h"

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

std::u32string codePoints(const QString& text)
{
    const QList<uint> codes = text.toUcs4();
    std::u32string points;
    points.reserve(static_cast<std::size_t>(codes.size()));
    for (const uint code : codes)
        points.push_back(static_cast<char32_t>(code));
    return points;
}

/// A multi-line field shows each line end as one character; the model keeps it as CR LF.
QString storedForm(const QString& shown)
{
    QString stored = shown;
    stored.replace(QChar('\n'), QStringLiteral("\r\n"));
    return stored;
}

QString shownForm(const QString& stored)
{
    QString shown = stored;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

/// A position in a multi-line field's shown text as an offset in the stored text: a line end before it is two.
std::size_t storedOffset(const QString& shown, int position)
{
    return static_cast<std::size_t>(position + shown.left(position).count(QChar('\n')));
}

/// The change that took a text from before to after, the cursor at the end of what it inserted: what lay between
/// the parts that stayed on either side, and what took its place.
struct Difference
{
    qsizetype start = 0;
    qsizetype end = 0;
    QString inserted;
};

Difference difference(const QString& before, const QString& after, qsizetype cursor)
{
    const qsizetype mostBefore = std::min({cursor, before.size(), after.size()});
    qsizetype prefix = 0;
    while (prefix < mostBefore && before[prefix] == after[prefix])
        ++prefix;
    const qsizetype mostAfter = std::min(after.size(), before.size()) - prefix;
    qsizetype suffix = 0;
    while (suffix < mostAfter && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return {prefix, before.size() - suffix, after.mid(prefix, after.size() - prefix - suffix)};
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
        [this, line](QString& text, int& cursor) { lineChanged(m_fields.at(line), text, cursor); }, this));
}

void FieldInput::attach(QPlainTextEdit* box, const std::string& name)
{
    const Field field{name, nullptr, box};
    m_fields[box] = field;
    m_fields[box->viewport()] = field;
    box->installEventFilter(this);
    box->viewport()->installEventFilter(this);
    // Deletions, cuts and anything else the field does by itself reach the program here.
    connect(box, &QPlainTextEdit::textChanged, this, [this, box] { boxChanged(m_fields.at(box)); });
    if (auto* textBox = qobject_cast<TextBox*>(box))
        textBox->setInsertionFilter([input = QPointer<FieldInput>(this), box](const QString& offered) {
            if (!input)
                return QString();
            // The program has taken what enters by the time the field inserts it.
            return input->offer(input->m_fields.at(box), offered, false);
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
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        restore(field, event->matches(QKeySequence::Undo));
        return true;
    }
    if (field.line && event->matches(QKeySequence::Paste)) {
        enter(field, QApplication::clipboard()->text(), false);
        return true;
    }
    const bool enterKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (field.box && enterKey) {
        enter(field, QStringLiteral("\r"), false);
        return true;
    }
    // Enter takes a completion offered: the whole text stays, the cursor at its end.
    if (field.list && enterKey && field.line->hasSelectedText() &&
        field.line->selectionEnd() == field.line->text().size())
        field.line->end(false);
    if (isEditingKey(*event))
        return false;
    enter(field, event->text(), field.list != nullptr);
    return true;
}

std::pair<std::size_t, std::size_t> FieldInput::selection(const Field& field) const
{
    if (QLineEdit* line = field.line) {
        if (!line->hasSelectedText())
            return {static_cast<std::size_t>(line->cursorPosition()), static_cast<std::size_t>(line->cursorPosition())};
        return {static_cast<std::size_t>(line->selectionStart()), static_cast<std::size_t>(line->selectionEnd())};
    }
    const QString shown = field.box->toPlainText();
    const QTextCursor cursor = field.box->textCursor();
    return {storedOffset(shown, cursor.selectionStart()), storedOffset(shown, cursor.selectionEnd())};
}

QString FieldInput::offer(const Field& field, const QString& text, bool complete, int* completion)
{
    if (text.isEmpty())
        return {};
    const auto [start, end] = selection(field);
    const std::u32string offered = codePoints(text);
    const validation::EnteredText entered = m_program.enterText(field.name, {start, end, offered}, complete);
    if (entered.cursor <= start)
        return {};
    if (completion)
        *completion = static_cast<int>(entered.completion);
    const std::string inserted = entered.text.substr(start, entered.cursor - start + entered.completion);
    return field.box ? shownForm(latin1(inserted)) : latin1(inserted);
}

void FieldInput::enter(const Field& field, const QString& text, bool complete)
{
    int completion = 0;
    const QString inserted = offer(field, text, complete, &completion);
    if (inserted.isEmpty())
        return;
    m_entering = true;
    if (QLineEdit* line = field.line) {
        line->insert(inserted.left(inserted.size() - completion));
        if (completion > 0) {
            line->insert(inserted.right(completion));
            line->cursorBackward(true, completion);
        }
    } else {
        field.box->insertPlainText(inserted);
    }
    m_entering = false;
}

void FieldInput::restore(const Field& field, bool undo)
{
    // The texts undo and redo return to are texts the field has held: the program takes them as they are, as the
    // field reports the change (the windows are drawn again on that report).
    m_restoring = true;
    if (QLineEdit* line = field.line)
        undo ? line->undo() : line->redo();
    else
        undo ? field.box->undo() : field.box->redo();
    m_restoring = false;
}

void FieldInput::restored(const Field& field, const QString& text)
{
    m_program.textRestored(field.name, toLatin1(text));
}

validation::EnteredText FieldInput::enterChange(const Field& field, const QString& before, const QString& after,
                                                qsizetype cursor)
{
    const Difference change = difference(before, after, cursor);
    const std::u32string offered = codePoints(change.inserted);
    return m_program.enterText(field.name,
                               {static_cast<std::size_t>(change.start), static_cast<std::size_t>(change.end), offered});
}

std::optional<FieldInput::Taken> FieldInput::takeChange(const Field& field, const QString& text, qsizetype cursor)
{
    if (m_programWriting || m_entering)
        return std::nullopt;
    if (m_restoring) {
        restored(field, text);
        return std::nullopt;
    }
    const QString before = modelText(field);
    if (text == before)
        return std::nullopt;
    const validation::EnteredText entered = enterChange(field, before, text, cursor);
    QString taken = latin1(entered.text);
    if (taken == text)
        return std::nullopt;
    return Taken{std::move(taken), entered.cursor};
}

void FieldInput::lineChanged(const Field& field, QString& text, int& cursor)
{
    if (auto taken = takeChange(field, text, cursor)) {
        text = std::move(taken->text);
        cursor = static_cast<int>(taken->cursor);
    }
}

void FieldInput::boxChanged(const Field& field)
{
    QPlainTextEdit* box = field.box;
    const QString shown = box->toPlainText();
    const auto taken =
        takeChange(field, storedForm(shown), static_cast<qsizetype>(storedOffset(shown, box->textCursor().position())));
    if (!taken)
        return;
    // What entered differs from what the field shows: it shows what the program took.
    m_entering = true;
    box->setPlainText(shownForm(taken->text));
    QTextCursor at = box->textCursor();
    at.setPosition(static_cast<int>(shownForm(taken->text.left(static_cast<qsizetype>(taken->cursor))).size()));
    box->setTextCursor(at);
    m_entering = false;
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
