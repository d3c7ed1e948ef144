"""Reads the running quellmark over AT-SPI as a screen reader does (run by screen-reader.sh).

In the main window and each mode window, every control the keyboard reaches has a name of its own that is not the
value it shows nor the heading of its group; the termination options are radio buttons; only what has the focus
reports it; the status panel announces the connection when it changes.
"""
import os
import signal
import sys
import time

import pyatspi
from gi.repository import GLib

CONTROLS = {
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_PAGE_TAB_LIST,
    pyatspi.ROLE_PAGE_TAB,
}
MODES = ["Telemetry", "Beacon", "NMEA", "Tracking", "Alarm"]
# Names the windows must read out, each in its window.
EXPECTED = {
    "Telemetry": ["Special Path 2", "Transmit Delay", "Tail Delay", "Line Feed", "User Defined Character"],
    "Beacon": ["Special Path 4", "Transmit Timer Minutes", "Beacon Text"],
    "NMEA": ["Special Path 1", "Course Delta (Reserved)", "Adaptive Transmit (Reserved)", "Profile 1", "Profile 10"],
    "Tracking": ["Symbol", "Common Symbols", "Transmit Delay", "Profile 3"],
    "Alarm": ["Special Path 2", "Alarm 3 Message", "Alarm 1 Normal State", "Transmit Delay"],
}

failures = []
notifications = []


def fail(what):
    failures.append(what)


def pump(seconds, done=lambda: False):
    """Lets the reader's events arrive for up to `seconds`, or until done() holds; returns done()."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        if done():
            return True
        time.sleep(0.05)
    return done()


def descendants(node, prune=lambda child: False):
    """Every node below `node`; below a node that prune() picks, nothing."""
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None or prune(child):
            continue
        yield child
        yield from descendants(child, prune)


def is_mode_window(node):
    return node.getRole() in (pyatspi.ROLE_INTERNAL_FRAME, pyatspi.ROLE_FRAME) and node.name.endswith(" Mode")


def states(node):
    return node.getState()


def program():
    def found():
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and (application.name or "").lower() == "quellmark":
                return application
        return None

    end = time.monotonic() + 30
    while time.monotonic() < end:
        application = found()
        if application is not None and application.childCount > 0:
            return application
        time.sleep(0.2)
    sys.exit("quellmark did not appear on the accessibility bus")


def main_window(application):
    for node in descendants(application):
        if node.getRole() == pyatspi.ROLE_FRAME and "Quellmark" in node.name:
            return node
    sys.exit("no main window")


def named(root, role, name):
    for node in descendants(root):
        if node.getRole() == role and node.name == name:
            return node
    return None


def press(node):
    action = node.queryAction()
    for index in range(action.nActions):
        if action.getName(index) in ("press", "Press", "click"):
            action.doAction(index)
            return
    action.doAction(0)


def controls(root, prune=lambda child: False):
    """The controls of a window that the keyboard reaches: showing, focusable, not a list's own line."""
    found = []
    for node in descendants(root, prune):
        if node.getRole() not in CONTROLS:
            continue
        state = states(node)
        if not state.contains(pyatspi.STATE_SHOWING) or not state.contains(pyatspi.STATE_FOCUSABLE):
            continue
        if node.getRole() == pyatspi.ROLE_TEXT and node.parent.getRole() == pyatspi.ROLE_COMBO_BOX:
            continue
        found.append(node)
    return found


def check_names(window, title, prune=lambda child: False):
    seen = {}
    for node in controls(window, prune):
        name = node.name
        what = f"{title}: {node.getRoleName()} '{name}'"
        if not name:
            fail(f"{what} has no name")
            continue
        if name in seen:
            fail(f"{what} is named like another control")
        seen[name] = node
        # A list is named by what it holds, never by one of its entries.
        if node.getRole() == pyatspi.ROLE_COMBO_BOX:
            entries = {item.name for item in descendants(node) if item.getRole() == pyatspi.ROLE_LIST_ITEM}
            if name in entries:
                fail(f"{what} is named by an entry it shows")
        parent = node.parent
        while parent is not None and parent != window:
            if parent.getRole() == pyatspi.ROLE_PANEL and parent.name and parent.name == name:
                fail(f"{what} is named by the heading of its group")
            parent = parent.parent
        if name in ("Carriage Return", "Line Feed", "User Defined") and node.getRole() != pyatspi.ROLE_RADIO_BUTTON:
            fail(f"{what} is not a radio button")
    for name in EXPECTED.get(title, []):
        if name not in seen:
            fail(f"{title}: no control is named '{name}' (names: {sorted(seen)})")
    return seen


def check_focus(window, title):
    """One control has the focus; only it (and a part of it, such as the tab on show) reports it."""
    focused = [node for node in controls(window) + [n for n in descendants(window) if n.getRole() == pyatspi.ROLE_TEXT]
               if states(node).contains(pyatspi.STATE_FOCUSED)]
    owners = [node for node in focused if not states(node.parent).contains(pyatspi.STATE_FOCUSED)]
    names = sorted({f"{node.getRoleName()} '{node.name}'" for node in owners})
    if len(names) != 1:
        fail(f"{title}: the focus is reported by {names}")


def on_showing(event):
    if event.source.getRole() == pyatspi.ROLE_NOTIFICATION and event.detail1:
        notifications.append(event.source.name)


def main():
    application = program()
    window = main_window(application)
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    # The unit is identified at start-up: the status panel reads Connected.
    if not pump(20, lambda: named(window, pyatspi.ROLE_NOTIFICATION, "Connected") or named(window, pyatspi.ROLE_LABEL,
                                                                                          "Connected")):
        sys.exit("the status panel never read Connected")
    if named(window, pyatspi.ROLE_NOTIFICATION, "Connected") is None:
        fail("the status panel is no notification: its changes go unsaid")

    modes = {}
    for mode in MODES:
        item = named(window, pyatspi.ROLE_MENU_ITEM, mode)
        if item is None:
            fail(f"no menu item {mode}")
            continue
        press(item)
        frame_name = f"{mode} Mode"

        def shown():
            frame = named(window, pyatspi.ROLE_INTERNAL_FRAME, frame_name) or named(window, pyatspi.ROLE_FRAME,
                                                                                   frame_name)
            modes[mode] = frame
            return frame is not None and states(frame).contains(pyatspi.STATE_SHOWING) and controls(frame)

        if not pump(10, shown):
            fail(f"the {frame_name} window did not show")
            continue
        check_names(modes[mode], mode)
        if mode in ("NMEA", "Tracking"):
            my_call = named(modes[mode], pyatspi.ROLE_TEXT, "My Call")
            if my_call is None or not my_call.queryComponent().grabFocus():
                fail(f"{mode}: My Call cannot take the focus")
            elif pump(5, lambda: states(my_call).contains(pyatspi.STATE_FOCUSED)):
                check_focus(modes[mode], mode)
            else:
                fail(f"{mode}: My Call does not report the focus it was given")

    check_names(window, "main window", prune=is_mode_window)

    # The status panel says the connection's change wherever the focus is: the unit stops answering, then answers
    # again.
    notifications.clear()
    unit = int(os.environ["QM_UNIT_PID"])
    os.kill(unit, signal.SIGSTOP)
    pump(10, lambda: "Disconnected" in notifications)
    os.kill(unit, signal.SIGCONT)
    if not pump(10, lambda: notifications == ["Disconnected", "Connected"]):
        fail(f"the status changes announced were {notifications}, not Disconnected then Connected")

    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
