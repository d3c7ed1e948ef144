// Editing the mode windows' fields as a person does: real key, mouse, clipboard and drop events on the real
// widgets, with the windows drawn again between the keys as the probe timer does.
#include "DesktopOnFakePorts.h"

#include "forms/Controls.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

#include <string>
#include <vector>

namespace qm::app::guitest
{
namespace
{

/// The widget a person types into for a control, and what it shows.
struct Editor
{
    QWidget* widget = nullptr;
    QLineEdit* line = nullptr;
    QPlainTextEdit* plain = nullptr;

    QString text() const { return line ? line->text() : plain->toPlainText(); }
    int cursor() const { return line ? line->cursorPosition() : plain->textCursor().position(); }
    QString selected() const
    {
        return line ? line->selectedText() : plain->textCursor().selectedText().replace(QChar(0x2029), '\n');
    }
    /// The widget that takes the mouse: a text box's viewport.
    QWidget* mouseTarget() const { return plain ? plain->viewport() : widget; }
    QPoint start() const { return QPoint(4, mouseTarget()->height() / 2); }
    QPoint end() const { return QPoint(mouseTarget()->width() - 4, mouseTarget()->height() - 4); }
};

struct NamedKey
{
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    /// The key's text as X11 delivers it.
    const char* text;
};

const NamedKey kKeys[] = {
    {"Delete", Qt::Key_Delete, Qt::NoModifier, "\x7f"},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b"},
    {"Enter", Qt::Key_Return, Qt::NoModifier, "\r"},
    {"Home", Qt::Key_Home, Qt::NoModifier, ""},
    {"End", Qt::Key_End, Qt::NoModifier, ""},
    {"Left", Qt::Key_Left, Qt::NoModifier, ""},
    {"Right", Qt::Key_Right, Qt::NoModifier, ""},
    {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, ""},
    {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, ""},
    {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, "\x01"},
    {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, "\x03"},
    {"Ctrl+X", Qt::Key_X, Qt::ControlModifier, "\x18"},
    {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, "\x16"},
    {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, "\x1a"},
    {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, ""},
};

class FieldEditingTest : public DesktopOnFakePorts
{
protected:
    Editor editor(const char* control)
    {
        Editor found;
        found.widget = desktop->binder().widget(control);
        if (auto* combo = qobject_cast<QComboBox*>(found.widget))
            found.widget = combo->lineEdit();
        found.line = qobject_cast<QLineEdit*>(found.widget);
        found.plain = qobject_cast<QPlainTextEdit*>(found.widget);
        EXPECT_TRUE(found.line || found.plain) << control;
        return found;
    }

    /// Chooses the mode, puts the text into the field as a load would, and gives the field the focus.
    Editor prepare(const char* mode, const char* control, const std::string& text)
    {
        action(mode)->trigger();
        desktop->program().textChanged(control, text);
        desktop->binder().draw();
        Editor field = editor(control);
        desktop->window().activateWindow();
        field.widget->setFocus(Qt::OtherFocusReason);
        return field;
    }

    /// Sends keys as written: "{End}{Left 2}xy" is End, Left twice, then the keys x and y. A probe period
    /// passes after every key, so the windows are drawn again in between as they are in use.
    void press(QWidget* widget, const std::string& keys)
    {
        for (std::size_t at = 0; at < keys.size(); ++at) {
            if (keys[at] != '{') {
                QTest::keyClick(widget, keys[at]);
                probeTick();
                continue;
            }
            const auto close = keys.find('}', at);
            ASSERT_NE(close, std::string::npos) << keys;
            std::string name = keys.substr(at + 1, close - at - 1);
            int count = 1;
            if (const auto space = name.find(' '); space != std::string::npos) {
                count = std::stoi(name.substr(space + 1));
                name.resize(space);
            }
            const NamedKey* key = nullptr;
            for (const NamedKey& candidate : kKeys)
                if (name == candidate.name)
                    key = &candidate;
            ASSERT_NE(key, nullptr) << name;
            for (int i = 0; i < count; ++i) {
                QTest::sendKeyEvent(QTest::Click, widget, key->key, QString::fromLatin1(key->text), key->modifiers);
                probeTick();
            }
            at = close;
        }
    }

    /// The model's text of a control, as the widget shows it (a text box's CR LF as one line end).
    QString modelText(const char* control)
    {
        auto found = forms::findControl(windows(), control);
        std::string text;
        if (auto** field = std::get_if<forms::TextField*>(&*found))
            text = (*field)->text();
        else if (auto** list = std::get_if<forms::PickList*>(&*found))
            text = (*list)->text();
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).replace("\r\n", "\n");
    }
};

struct TypingCase
{
    const char* mode;
    const char* control;
    std::string before;
    std::string keys;
    std::string after;
};

TEST_F(FieldEditingTest, KeysTypedInTheMiddleOfAFieldLandWhereTheCursorIs)
{
    const TypingCase cases[] = {
        {"tracking", "TrkMyCall", "N0CALL", "{End}{Backspace 2}{Left 2}xy", "N0XYCA"},
        {"tracking", "TrkSpecPath1", "WIDE2-1", "{End}{Left 3}ab", "WIDEAB2-1"},
        {"tracking", "TrkComments", "Hello world", "{Home}{Right 5} big", "Hello big world"},
        {"tracking", "TrkToCall", "APZ", "{Home}{Right}x", "AXPZ"},
        {"alarm", "AlarmMsgText1", "Door open", "{Home}{Right 4}s", "Doors open"},
        {"alarm", "AlmTxCntrLimit", "15", "{Home}2", "215"},
        {"nmea", "GpsString1", "$GPGGA", "{End}{Left 3}x", "$GPxGGA"},
        {"beacon", "BcnMsgText", "Hello world", "{Ctrl+Home}{Right 6}big ", "Hello big world"},
    };
    for (const TypingCase& c : cases) {
        const Editor field = prepare(c.mode, c.control, c.before);
        press(field.widget, c.keys);
        EXPECT_EQ(field.text(), QString::fromStdString(c.after)) << c.control;
        EXPECT_EQ(modelText(c.control), QString::fromStdString(c.after)) << c.control;
    }
}

TEST_F(FieldEditingTest, EditingKeysPassEveryTypingFilterAndUndoWorks)
{
    const TypingCase cases[] = {
        {"tracking", "TrkMyCall", "N0CALL", "{Home}{Delete}", "0CALL"},
        {"tracking", "TrkSSID", "12", "{Home}{Delete}", "2"},
        {"telemetry", "TelTmrMin", "15", "{End}{Left}{Delete}", "1"},
        {"telemetry", "TelUserTrigChar", "123", "{Home}{Right}{Delete}", "13"},
        {"tracking", "TrkSpecPath2", "WIDE2-2", "{Ctrl+A}{Delete}", ""},
        {"tracking", "TrkComments", "abc", "{End}{Backspace}{Home}{Delete}", "b"},
        {"beacon", "BcnMsgText", "abc", "{Ctrl+Home}{Delete}", "bc"},
        {"tracking", "TrkMyCall", "N0CALL", "{Ctrl+A}{Ctrl+X}{Ctrl+V}{Ctrl+V}", "N0CALL"},
        {"tracking", "TrkMyCall", "N0CALL", "{Ctrl+A}{Ctrl+C}{End}{Backspace 3}{Shift+Insert}", "N0CN0C"},
        {"tracking", "TrkMyCall", "N0CALL", "{End}{Backspace}{Ctrl+Z}", "N0CALL"},
        {"tracking", "TrkMyCall", "N0CALL", "{End}{Backspace}x{Ctrl+Z}", "N0CAL"},
        {"tracking", "TrkSSID", "12", "{End}{Backspace}{Ctrl+Z}", "12"},
        {"beacon", "BcnMsgText", "abc", "{Ctrl+End}{Backspace}{Ctrl+Z}", "abc"},
    };
    for (const TypingCase& c : cases) {
        const Editor field = prepare(c.mode, c.control, c.before);
        press(field.widget, c.keys);
        EXPECT_EQ(field.text(), QString::fromStdString(c.after)) << c.control << " " << c.keys;
        EXPECT_EQ(modelText(c.control), QString::fromStdString(c.after)) << c.control << " " << c.keys;
    }
}

TEST_F(FieldEditingTest, AClickSelectsTheWholeTextAndTypingReplacesItAfterAProbe)
{
    const TypingCase cases[] = {
        {"tracking", "TrkMyCall", "N0CALL", "k1abc", "K1ABC"},
        {"tracking", "TrkSSID", "12", "7", "7"},
        {"tracking", "TrkSpecPath2", "WIDE2-2", "relay", "RELAY"},
        {"tracking", "TrkComments", "Old comment", "New", "New"},
        {"beacon", "BcnMsgText", "Old text", "New", "New"},
    };
    for (const TypingCase& c : cases) {
        const Editor field = prepare(c.mode, c.control, c.before);
        QTest::mouseClick(field.mouseTarget(), Qt::LeftButton, {}, field.end());
        ASSERT_TRUE(QTest::qWaitFor([&] { return field.selected() == field.text(); }, 2000)) << c.control;
        probeTick();
        probeTick();
        EXPECT_EQ(field.selected(), QString::fromStdString(c.before)) << c.control;
        press(field.widget, c.keys);
        EXPECT_EQ(field.text(), QString::fromStdString(c.after)) << c.control;
        EXPECT_EQ(modelText(c.control), QString::fromStdString(c.after)) << c.control;
    }
}

TEST_F(FieldEditingTest, BeaconTextTakesNoMoreThanItsLimitAndNeverLosesItsEnd)
{
    const std::string full = std::string(75, 'A') + "Z";
    const Editor field = prepare("beacon", "BcnMsgText", full);

    press(field.widget, "{Ctrl+End}XY");
    EXPECT_EQ(field.text().toStdString(), full);
    EXPECT_EQ(field.cursor(), 76);

    press(field.widget, "{Ctrl+Home}Q{Right 10}{Delete 3}");
    QApplication::clipboard()->setText("12345");
    press(field.widget, "{Ctrl+V}");
    const std::string pasted = std::string(10, 'A') + "123" + std::string(62, 'A') + "Z";
    EXPECT_EQ(field.text().toStdString(), pasted);
    EXPECT_EQ(field.cursor(), 13);
    EXPECT_EQ(windows().beacon.BcnMsgText.text(), pasted);

    press(field.widget, "{Ctrl+End}{Backspace 2}{Enter}x");
    const std::string broken = pasted.substr(0, 74) + "\r\n";
    EXPECT_EQ(field.text(), QString::fromStdString(broken).replace("\r\n", "\n"));
    EXPECT_EQ(windows().beacon.BcnMsgText.text(), broken);
    press(field.widget, "{Backspace}{Backspace}{Enter}");
    EXPECT_EQ(windows().beacon.BcnMsgText.text(), broken.substr(0, 73) + "\r\n");
}

struct InsertCase
{
    const char* mode;
    const char* control;
    std::string before;
    QString inserted;
    bool atStart;
    std::string after;
};

TEST_F(FieldEditingTest, MiddleClickPasteAndDropGoThroughTheSameFilterAsTyping)
{
    const InsertCase cases[] = {
        {"tracking", "TrkSSID", "1", "x9", false, "19"},
        {"tracking", "TrkMyCall", "CALL", "n0", true, "N0CALL"},
        {"tracking", "TrkMyCall", "N0CAL", "xyz", false, "N0CALX"},
        {"telemetry", "TelTmrSec", "", "3a0", false, "30"},
        {"tracking", "TrkSpecPath3", "", "wide\t3-3", false, "WIDE3-3"},
        {"beacon", "BcnMsgText", std::string(75, 'A'), "xyz", false, std::string(75, 'A') + "x"},
    };
    for (const bool drop : {false, true}) {
        for (const InsertCase& c : cases) {
            const Editor field = prepare(c.mode, c.control, c.before);
            const QPoint at = c.atStart ? field.start() : field.end();
            if (drop) {
                QMimeData data;
                data.setText(c.inserted);
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field.mouseTarget(), &enter);
                QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field.mouseTarget(), &move);
                QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field.mouseTarget(), &dropped);
            } else {
                ASSERT_TRUE(QApplication::clipboard()->supportsSelection());
                QApplication::clipboard()->setText(c.inserted, QClipboard::Selection);
                QTest::mouseClick(field.mouseTarget(), Qt::MiddleButton, {}, at);
            }
            probeTick();
            const char* way = drop ? "drop" : "middle click";
            EXPECT_EQ(field.text(), QString::fromStdString(c.after)) << c.control << " " << way;
            EXPECT_EQ(modelText(c.control), QString::fromStdString(c.after)) << c.control << " " << way;
        }
    }
}

} // namespace
} // namespace qm::app::guitest
