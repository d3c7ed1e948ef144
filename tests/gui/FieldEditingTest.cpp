// Editing the mode windows' fields as a person does: real key, mouse, clipboard and drop events on the real
// widgets, with the windows drawn again between the keys as the probe timer does.
#include "Desktops.h"

#include "forms/Controls.h"

#include <QClipboard>
#include <QComboBox>
#include <QKeySequence>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>

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
    QString selected() const
    {
        return line ? line->selectedText() : plain->textCursor().selectedText().replace(QChar(0x2029), '\n');
    }
    /// The widget that takes the mouse (a text box's viewport), and a point at its start or end.
    QWidget* mouseTarget() const { return plain ? plain->viewport() : widget; }
    QPoint at(bool start) const { return start ? QPoint(4, 8) : mouseTarget()->rect().bottomRight() - QPoint(4, 4); }
};

/// Sends a named key ("Ctrl+Home", "Delete") with its text as X11 delivers it.
void sendKey(QWidget* widget, const std::string& name)
{
    const QKeyCombination key = QKeySequence(QString::fromStdString(name))[0];
    QString text = key.key() == Qt::Key_Delete ? "\x7f" : key.key() == Qt::Key_Backspace ? "\b" : "";
    if (key.key() == Qt::Key_Return)
        text = "\r";
    else if (key.keyboardModifiers() == Qt::ControlModifier && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        text = QChar(key.key() - Qt::Key_A + 1);
    QTest::sendKeyEvent(QTest::Click, widget, key.key(), text, key.keyboardModifiers());
}

struct Case
{
    const char* mode;
    const char* control;
    std::string before;
    std::string keys;
    std::string after;
};

class FieldEditingTest : public DesktopOnFakePorts
{
protected:
    /// Chooses the mode, puts the text into the field as a load would, and gives the field the focus.
    Editor prepare(const Case& c)
    {
        action(c.mode)->trigger();
        desktop->program().textChanged(c.control, c.before);
        desktop->binder().draw();
        Editor field;
        field.widget = desktop->binder().widget(c.control);
        if (auto* combo = qobject_cast<QComboBox*>(field.widget))
            field.widget = combo->lineEdit();
        field.line = qobject_cast<QLineEdit*>(field.widget);
        field.plain = qobject_cast<QPlainTextEdit*>(field.widget);
        EXPECT_TRUE(field.line || field.plain) << c.control;
        desktop->window().activateWindow();
        field.widget->setFocus(Qt::OtherFocusReason);
        return field;
    }

    /// Sends keys as written: "{End}{Left 2}xy" is End, Left twice, then x and y; a probe period passes after each.
    /// The keys go where the keyboard sends them: to the completions offered while they are shown.
    void press(QWidget* field, const std::string& keys)
    {
        for (std::size_t at = 0; at < keys.size(); ++at) {
            QWidget* widget = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : field;
            if (keys[at] != '{') {
                QTest::keyClick(widget, keys[at]);
                probeTick();
                continue;
            }
            const auto close = keys.find('}', at);
            std::string name = keys.substr(at + 1, close - at - 1);
            int count = 1;
            if (const auto space = name.find(' '); space != std::string::npos) {
                count = std::stoi(name.substr(space + 1));
                name.resize(space);
            }
            for (int i = 0; i < count; ++i) {
                sendKey(widget, name);
                probeTick();
            }
            at = close;
        }
    }

    /// The field and its model both hold the text (a text box's CR LF shown as one line end).
    void expectText(const Editor& field, const Case& c, const std::string& after, const char* way = "")
    {
        auto found = forms::findControl(windows(), c.control);
        std::string model;
        if (auto** text = std::get_if<forms::TextField*>(&*found))
            model = (*text)->text();
        else if (auto** list = std::get_if<forms::PickList*>(&*found))
            model = (*list)->text();
        EXPECT_EQ(field.text(), QString::fromStdString(after)) << c.control << " " << c.keys << way;
        EXPECT_EQ(QString::fromLatin1(model.data(), static_cast<qsizetype>(model.size())).replace("\r\n", "\n"),
                  QString::fromStdString(after))
            << c.control << " " << c.keys << way;
    }
};

TEST_F(FieldEditingTest, KeysLandWhereTheCursorIsPassEveryTypingFilterAndPickTheCompletionsOffered)
{
    const Case cases[] = {
        {"tracking", "TrkMyCall", "N0CALL", "{End}{Backspace 2}{Left 2}xy", "N0XYCA"},
        {"tracking", "TrkComments", "Hello world", "{Home}{Right 5} big", "Hello big world"},
        {"alarm", "AlarmMsgText1", "Door open", "{Home}{Right 4}s", "Doors open"},
        {"beacon", "BcnMsgText", "Hello world", "{Ctrl+Home}{Right 6}big ", "Hello big world"},
        {"tracking", "TrkMyCall", "N0CALL", "{Home}{Delete}", "0CALL"},
        {"telemetry", "TelTmrMin", "15", "{End}{Left}{Delete}", "1"},
        {"tracking", "TrkMyCall", "N0CALL", "{Ctrl+A}{Ctrl+X}{Ctrl+V}{Ctrl+V}", "N0CALL"},
        {"tracking", "TrkMyCall", "N0CALL", "{Ctrl+A}{Ctrl+C}{End}{Backspace 3}{Shift+Insert}", "N0CN0C"},
        {"tracking", "TrkMyCall", "N0CALL", "{End}{Backspace}x{Ctrl+Z}", "N0CAL"},
        {"beacon", "BcnMsgText", "abc", "{Ctrl+End}{Backspace}{Ctrl+Z}", "abc"},
        {"telemetry", "TelMyCall", "", "k1ab-c7", "K1AB-C"},
        {"beacon", "BcnTmrSec", "", "x5-y", "5"},
        {"telemetry", "TelSpecPath1", "", "w{Down}{Return}", "WIDE1-1"},
        {"beacon", "BcnSpecPath2", "", "wide2{Down 2}{Return}", "WIDE2-2"},
        {"tracking", "TrkSpecPath4", "", "wide3-3{Down}{Return}", "WIDE3-3"},
    };
    for (const Case& c : cases) {
        const Editor field = prepare(c);
        press(field.widget, c.keys);
        expectText(field, c, c.after);
    }
    // A callsign typed in one mode is every mode's.
    for (const char* other : {"BcnMyCall", "NMEAMyCall", "TrkMyCall", "AlmMyCall"})
        EXPECT_EQ(find<QLineEdit>(other)->text(), "K1AB-C") << other;
}

TEST_F(FieldEditingTest, AClickSelectsTheWholeTextAndTypingReplacesItAfterAProbe)
{
    const Case cases[] = {
        {"tracking", "TrkMyCall", "N0CALL", "k1abc", "K1ABC"},
        {"tracking", "TrkSpecPath2", "WIDE2-2", "relay", "RELAY"},
        {"beacon", "BcnMsgText", "Old text", "New", "New"},
    };
    for (const Case& c : cases) {
        const Editor field = prepare(c);
        QTest::mouseClick(field.mouseTarget(), Qt::LeftButton, {}, field.at(false));
        ASSERT_TRUE(QTest::qWaitFor([&] { return field.selected() == field.text(); }, 2000)) << c.control;
        probeTick();
        probeTick();
        EXPECT_EQ(field.selected(), QString::fromStdString(c.before)) << c.control;
        press(field.widget, c.keys);
        expectText(field, c, c.after);
    }
}

TEST_F(FieldEditingTest, BeaconTextTakesNoMoreThanItsLimitAndNeverLosesItsEnd)
{
    const std::string full = std::string(75, 'A') + "Z";
    const Case c{"beacon", "BcnMsgText", full, "", ""};
    const Editor field = prepare(c);
    press(field.widget, "{Ctrl+End}XY{Ctrl+Home}Q{Right 10}{Delete 3}");
    QApplication::clipboard()->setText("12345");
    press(field.widget, "{Ctrl+V}");
    const std::string pasted = std::string(10, 'A') + "123" + std::string(62, 'A') + "Z";
    expectText(field, c, pasted);
    EXPECT_EQ(field.plain->textCursor().position(), 13);
    press(field.widget, "{Ctrl+End}{Backspace 2}{Return}x");
    EXPECT_EQ(windows().beacon.BcnMsgText.text(), pasted.substr(0, 74) + "\r\n");
    press(field.widget, "{Backspace}{Backspace}{Return}");
    EXPECT_EQ(windows().beacon.BcnMsgText.text(), pasted.substr(0, 73) + "\r\n");
}

TEST_F(FieldEditingTest, UndoGivesBackATextLoadedLongerThanItsLimit)
{
    for (const char* control : {"BcnMsgText", "TrkComments"}) {
        const Case c{control == std::string("BcnMsgText") ? "beacon" : "tracking", control, "", "", ""};
        const Editor field = prepare(c);
        auto& model = *std::get<forms::TextField*>(*forms::findControl(windows(), control));
        const std::string loaded(model.maxLength() + 4, 'A');
        model.setText(loaded);
        desktop->binder().draw();
        press(field.widget, "{Ctrl+End}{Backspace}x");
        expectText(field, c, loaded.substr(1));
        press(field.widget, "{Ctrl+Z}");
        expectText(field, c, loaded);
    }
}

TEST_F(FieldEditingTest, TheBeaconTextToolTipNamesTheFieldsLimit)
{
    action("beacon")->trigger();
    EXPECT_EQ(find<QPlainTextEdit>("BcnMsgText")->toolTip(), "Enter the Beacon Text here (76 characters max).");
}

TEST_F(FieldEditingTest, MiddleClickAndDropGoThroughTheSameFilterAsTyping)
{
    // keys: what is inserted; before a '^' the insertion is at the start of the field.
    const Case cases[] = {
        {"tracking", "TrkSSID", "1", "x9", "19"},
        {"tracking", "TrkMyCall", "CALL", "^n0", "N0CALL"},
        {"tracking", "TrkMyCall", "N0CAL", "xyz", "N0CALX"},
        {"tracking", "TrkSpecPath3", "", "wide\t3-3", "WIDE3-3"},
        {"alarm", "AlmMySSID", "", "1a-2b3", "12"},
        {"beacon", "BcnMsgText", std::string(75, 'A'), "xyz", std::string(75, 'A') + "x"},
        {"beacon", "BcnMsgText", "", "a\nb\r\nc\n\rd", "a\nb\nc\nd"},
        // DEL and a C1 control are dropped; a no-break space and an accented letter are text.
        {"tracking", "TrkComments", "ab", "\x7F\xC2\x80\xC2\xA0\xC3\xA9", "ab\xC2\xA0\xC3\xA9"},
    };
    for (const char* way : {" middle click", " drop"}) {
        for (const Case& c : cases) {
            const Editor field = prepare(c);
            const bool atStart = c.keys.starts_with('^');
            const QString inserted = QString::fromStdString(c.keys.substr(atStart ? 1 : 0));
            const QPoint at = field.at(atStart);
            if (way[1] == 'm') {
                ASSERT_TRUE(QApplication::clipboard()->supportsSelection());
                QApplication::clipboard()->setText(inserted, QClipboard::Selection);
                QTest::mouseClick(field.mouseTarget(), Qt::MiddleButton, {}, at);
            } else {
                QMimeData data;
                data.setText(inserted);
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field.mouseTarget(), &enter);
                QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field.mouseTarget(), &move);
                QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field.mouseTarget(), &dropped);
            }
            probeTick();
            expectText(field, c, c.after, way);
        }
    }
}

} // namespace
} // namespace qm::app::guitest
