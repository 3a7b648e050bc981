#!/usr/bin/python3
"""Reads the program as a screen reader does, through the real accessibility
stack: a private D-Bus session bus, the AT-SPI bus and its registry, the
program on the X display it is run on (scripts/x-desktop gives it one of
its own, with Openbox), and an AT-SPI client (Debian's pyatspi) in this
process. Checks:

- the window is a frame named by its caption, tied to its menu entry
  (WM_CLASS is the desktop file's StartupWMClass);
- each control's name and description; the 24 entries in order, exactly
  (a trailing space kept); the introduction in the box;
- the box offers no EditableText, and insertText, deleteText, cutText,
  pasteText and setTextContents sent anyway change nothing;
- the application's locale and the box's language are Bulgarian;
- selecting entries through AT-SPI (the list's Table addRowSelection, an
  entry's Toggle action) shows each description, and the program writes
  nothing to stderr;
- where Qt offers the list's Selection interface (6.5 and later; skipped,
  and said so, before): it reports the one selected entry, selectChild shows
  an entry's description, and neither deselecting nor clearSelection leaves
  the list empty or moves the box off its entry;
- with nothing selected, Tab into the list and then each key (the first
  included) selects an entry, shows its description and moves the focus
  to that entry, so that a screen reader that follows the focus reads it;
- tabbing into the list moves the focus to the selected entry, whose place
  in the list a screen reader reads ("9 of 24");
- the context menus of the box and of both scroll bars are in Bulgarian.

Everything it starts it stops; every wait is for an event or a state,
bounded by a generous time-out. What a reader should read comes from the
program's own sources (expected_reading prints it).

    scripts/x-desktop check_screen_reader.py <kalvetor> <expected_reading> <desktop file>
"""

import json
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TIMEOUT = 30.0  # seconds, for each wait
POLL = 0.05

failures = []


def fail(message):
    print("FAIL: " + message, flush=True)
    failures.append(message)


def ok(message):
    print("ok: " + message, flush=True)


def check(condition, message, detail=""):
    if condition:
        ok(message)
    else:
        fail(message + (": " + detail if detail else ""))
    return condition


class Timeout(Exception):
    pass


def wait_for(what, condition, timeout=TIMEOUT, pump=None):
    """Polls the condition until it returns a true value, which is returned;
    raises Timeout after the time-out."""
    deadline = time.monotonic() + timeout
    while True:
        if pump is not None:
            pump()
        try:
            value = condition()
        except Exception:  # not there yet: an object still being made
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout("%s (after %.0f s)" % (what, timeout))
        time.sleep(POLL)


def read_line(stream, what, timeout=TIMEOUT):
    """One line from a child's pipe, waiting at most the time-out."""
    deadline = time.monotonic() + timeout
    data = b""
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([stream], [], [], left)[0]:
            raise Timeout(what)
        chunk = os.read(stream.fileno() if hasattr(stream, "fileno") else stream, 4096)
        if not chunk:
            raise Timeout(what + " (the pipe closed)")
        data += chunk
    return data.decode().strip()


class Processes:
    """Children started in sessions of their own, so that each can be ended
    with whatever it started (the AT-SPI launcher's bus, for one)."""

    def __init__(self):
        self.started = []

    def start(self, name, argv, **options):
        process = subprocess.Popen(argv, start_new_session=True, **options)
        self.started.append((name, process))
        return process

    def stop(self, process, grace=10.0):
        if process.poll() is None:
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        try:
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait(timeout=grace)
        # Whatever the child left in its session goes too.
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass

    def stop_all(self):
        for _, process in reversed(self.started):
            self.stop(process)


def x_tool(env, *argv):
    return subprocess.run(list(argv), env=env, capture_output=True, text=True, timeout=TIMEOUT).stdout


def start_accessibility_bus(processes, env):
    """A session bus of our own, the AT-SPI bus launcher on it and the
    registry on the AT-SPI bus. Returns the two buses' addresses."""
    from gi.repository import Gio, GLib

    session_bus = processes.start("dbus-daemon", ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                  env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    session_address = read_line(session_bus.stdout, "the session bus never told its address")
    env["DBUS_SESSION_BUS_ADDRESS"] = session_address

    processes.start("at-spi-bus-launcher", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                    env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
    session = Gio.DBusConnection.new_for_address_sync(session_address, flags, None, None)

    def a11y_address():
        reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                  GLib.VariantType.new("(s)"), Gio.DBusCallFlags.NONE, 1000, None)
        return reply.unpack()[0]

    # Programs and clients find the bus as on a desktop, through the session
    # bus: Qt 6.4 does not take AT_SPI_BUS_ADDRESS as that does.
    address = wait_for("the AT-SPI bus", a11y_address)
    processes.start("at-spi2-registryd", ["/usr/libexec/at-spi2-registryd"], env=env,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)

    def registry_running():
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "NameHasOwner", GLib.Variant("(s)", ("org.a11y.atspi.Registry",)),
                              GLib.VariantType.new("(b)"), Gio.DBusCallFlags.NONE, 1000, None)
        return reply.unpack()[0]

    wait_for("the AT-SPI registry", registry_running)
    return bus


def words(menu_entry):
    """A menu entry's words, without its shortcut."""
    return menu_entry.split("\t")[0].replace("&", "").strip()


def is_bulgarian(text):
    return bool(re.search("[\u0400-\u04FF]", text)) and not re.search("[A-Za-z]", text)


def check_selection(qt_version, names_list, text, expected):
    """The list's AT-SPI Selection interface, which Qt offers from 6.5 on.
    Entry 8 is selected before and after."""
    if tuple(int(part) for part in qt_version.split(".")[:2]) < (6, 5):
        print("skipped: the list's Selection interface (Qt %s has none)" % qt_version, flush=True)
        return
    if not check("Selection" in names_list.get_interfaces(), "the list offers Selection on Qt %s" % qt_version,
                 str(names_list.get_interfaces())):
        return
    selection = names_list.querySelection()

    def selected_entries():
        return [selection.getSelectedChild(i).getIndexInParent() for i in range(selection.nSelectedChildren)]

    check(selected_entries() == [8], "Selection reports entry 8 alone", str(selected_entries()))
    for what, attempt in (("selectChild", lambda: selection.selectChild(12)),
                          ("deselectSelectedChild", lambda: selection.deselectSelectedChild(0)),
                          ("deselectChild", lambda: selection.deselectChild(12)),
                          ("clearSelection", selection.clearSelection)):
        attempt()
        try:
            wait_for("entry 12 selected and shown after %s" % what,
                     lambda: selected_entries() == [12] and text.getText(0, -1) == expected["descriptions"][12])
            ok("after %s entry 12 alone is selected and its description shown" % what)
        except Timeout as timeout:
            fail("%s; selected: %s" % (timeout, selected_entries()))
    # Back to entry 8, where the checks after this expect the selection.
    selection.selectChild(8)
    wait_for("entry 8's description again", lambda: text.getText(0, -1) == expected["descriptions"][8])


def check_keys(env, names_list, box, text, expected, focused, pump):
    """Tab into the list with nothing selected, then keys, the first of which
    selects the entry under the cursor: each key's entry must be shown and
    named by a focus event after the key. Ends with the focus in the box."""
    import pyatspi  # loaded by run() once the buses are known

    x_tool(env, "xdotool", "key", "Tab")
    wait_for("the list to have the focus", lambda: names_list.getState().contains(pyatspi.STATE_FOCUSED),
             pump=pump)
    for key, row in (("Down", 0), ("Down", 1), ("End", 23), ("Up", 22), ("Home", 0)):
        # Whatever the program still had to say of the last key (or of Tab)
        # has come once it answers a call.
        names_list.queryTable().nRows
        pump()
        del focused[:]
        x_tool(env, "xdotool", "key", key)

        def entry_named():
            return (text.getText(0, -1) == expected["descriptions"][row] and focused
                    and focused[-1].getRoleName() == "list item" and focused[-1].getIndexInParent() == row)

        try:
            wait_for("a focus event for entry %d after %s" % (row, key), entry_named, pump=pump)
            ok("%s: entry %d selected, shown and named by a focus event" % (key, row))
        except Timeout as timeout:
            fail("%s; the focus events named %s" % (timeout, [(s.getRoleName(), s.name) for s in focused]))
    x_tool(env, "xdotool", "key", "shift+Tab")
    wait_for("the box to have the focus again", lambda: box.getState().contains(pyatspi.STATE_FOCUSED),
             pump=pump)


def run(program, expected_reading, desktop_file, processes, runtime):
    expected = json.loads(subprocess.run([expected_reading], capture_output=True, check=True,
                                         timeout=TIMEOUT).stdout)
    env = {key: value for key, value in os.environ.items()
           if key not in ("AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    os.environ.pop("AT_SPI_BUS_ADDRESS", None)
    env["XDG_RUNTIME_DIR"] = runtime
    a11y_bus = start_accessibility_bus(processes, env)

    # libatspi finds the bus from the environment when it is first loaded.
    os.environ.update({key: env[key] for key in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, Gio, GLib
    import pyatspi

    context = GLib.MainContext.default()

    def pump():
        while context.iteration(False):
            pass

    # The user's locale is not Bulgarian: the program must be all the same.
    program_env = dict(env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb", LANG="C", LC_ALL="C")
    stderr_path = os.path.join(runtime, "stderr")
    with open(stderr_path, "wb") as stderr:
        kalvetor = processes.start("kalvetor", [program], env=program_env, stdout=subprocess.DEVNULL, stderr=stderr)

    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == kalvetor.pid and app.childCount > 0:
                return app
        return None

    try:
        app = wait_for("the program on the AT-SPI bus", application)
    except Timeout:
        with open(stderr_path, encoding="utf-8", errors="replace") as written:
            print(written.read(), end="")
        raise
    frame = wait_for("the window", lambda: app[0])
    window = wait_for("the X window", lambda: x_tool(env, "xdotool", "search", "--onlyvisible", "--pid",
                                                      str(kalvetor.pid)).split()[-1])

    # The frame and its menu entry.
    check(frame.getRoleName() == "frame", "the window is a frame", frame.getRoleName())
    check(frame.name == expected["caption"], "the frame is named by its caption", repr(frame.name))
    wm_class = re.findall(r'"([^"]*)"', x_tool(env, "xprop", "-id", window, "WM_CLASS"))
    with open(desktop_file, encoding="utf-8") as entry:
        startup_class = [line.split("=", 1)[1].strip() for line in entry if line.startswith("StartupWMClass=")]
    check(len(wm_class) == 2 and startup_class == [wm_class[1]],
          "WM_CLASS %s matches the desktop file's StartupWMClass %s" % (wm_class, startup_class))

    # The controls, by role.
    def child(role):
        found = [c for c in frame if c is not None and c.getRoleName() == role]
        return found[0] if len(found) == 1 else None

    label, names_list, box = child("label"), child("list"), child("text")
    if not check(label is not None and names_list is not None and box is not None,
                 "one label, one list and one text in the frame",
                 str([c.getRoleName() for c in frame])):
        return
    for control, key in ((label, "title"), (names_list, "list"), (box, "box")):
        check(control.name == expected[key]["name"] and control.description == expected[key]["description"],
              "%s: name %r and its description" % (control.getRoleName(), control.name),
              "%r / %r" % (control.name, control.description))

    shown_names = [names_list[i].name for i in range(names_list.childCount)]
    check(shown_names == expected["names"], "the %d entries in order, exactly" % len(expected["names"]),
          repr(shown_names))
    spaced = [name for name in expected["names"] if name != name.rstrip()]
    check(bool(spaced) and all(name in shown_names for name in spaced),
          "trailing spaces kept: %r" % spaced)

    text = box.queryText()
    check(text.getText(0, -1) == expected["introduction"], "the box reads the introduction",
          repr(text.getText(0, 60)))

    # No editing through accessibility.
    check("EditableText" not in box.get_interfaces(), "the box offers no EditableText",
          str(box.get_interfaces()))
    before = text.getText(0, -1)
    for name, attempt in (("insertText", lambda: Atspi.EditableText.insert_text(box, 0, "ВМЪКНАТО ", 9)),
                          ("deleteText", lambda: Atspi.EditableText.delete_text(box, 0, 20)),
                          ("cutText", lambda: Atspi.EditableText.cut_text(box, 0, 20)),
                          ("pasteText", lambda: Atspi.EditableText.paste_text(box, 0)),
                          ("setTextContents", lambda: Atspi.EditableText.set_text_contents(box, "ЗАМЕНЕН"))):
        try:
            attempt()
        except GLib.Error:
            pass  # refused outright: as good as changing nothing
        check(text.getText(0, -1) == before, "%s changes nothing" % name, repr(text.getText(0, 40)))

    # Language.
    bus_names = a11y_bus.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                                   "org.a11y.atspi.Accessible", "GetChildren", None, None,
                                   Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
    locales = []
    for bus_name, path in bus_names:
        pid = a11y_bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                 "GetConnectionUnixProcessID", GLib.Variant("(s)", (bus_name,)), None,
                                 Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
        if pid == kalvetor.pid:
            locales.append(a11y_bus.call_sync(bus_name, path, "org.a11y.atspi.Application", "GetLocale",
                                              GLib.Variant("(u)", (Atspi.LocaleType.MESSAGES,)), None,
                                              Gio.DBusCallFlags.NONE, 5000, None).unpack()[0])
    check(locales == ["bg_BG"], "the application's locale is bg_BG under LANG=C", str(locales))
    attributes = text.getAttributes(0)[0]
    check("language:bg-BG" in attributes.split(";"), "the box's text is in bg-BG", attributes)

    # The focus events a screen reader follows.
    focused = []

    def on_focus(event):
        if event.detail1 == 1:
            focused.append(event.source)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    x_tool(env, "xdotool", "windowactivate", window)
    wait_for("the window to take the focus", lambda: x_tool(env, "xdotool", "getwindowfocus").strip() == window)
    wait_for("the box to have the focus", lambda: box.getState().contains(pyatspi.STATE_FOCUSED), pump=pump)
    check_keys(env, names_list, box, text, expected, focused, pump)

    # Selecting through AT-SPI, as a screen reader's user does.
    table = names_list.queryTable()
    for row, how in ((3, "table"), (17, "toggle"), (0, "table"), (23, "toggle"), (8, "table")):
        if how == "table":
            table.addRowSelection(row)
        else:
            action = names_list[row].queryAction()
            action.doAction([action.getName(i) for i in range(action.nActions)].index("Toggle"))
        try:
            wait_for("entry %d's description" % row, lambda: text.getText(0, -1) == expected["descriptions"][row])
            ok("selecting entry %d through the %s shows its description" % (row, how))
        except Timeout as timeout:
            fail(str(timeout))
    check(list(table.getSelectedRows()) == [8], "entry 8 alone is selected", str(table.getSelectedRows()))
    check_selection(app.get_toolkit_version(), names_list, text, expected)
    # One more call the program answers: anything it would report of the
    # selections above is written by then.
    names_list.queryTable().nRows
    with open(stderr_path, encoding="utf-8", errors="replace") as written:
        output = written.read()
    check(output == "", "nothing on the program's stderr", repr(output))

    # Tabbing into the list: the focus goes to the selected entry.
    for attempt in (1, 2):
        del focused[:]
        x_tool(env, "xdotool", "key", "Tab")

        def entry_focused_after_list():
            roles = [source.getRoleName() for source in focused]
            return "list" in roles and roles[-1] == "list item" and roles.index("list") < len(roles) - 1

        try:
            wait_for("the focus on an entry after the list", entry_focused_after_list, pump=pump)
            entry = focused[-1]
            place = "%d of %d" % (entry.getIndexInParent() + 1, entry.parent.childCount)
            check(entry.name == expected["names"][8] and place == "9 of 24"
                  and entry.getState().contains(pyatspi.STATE_SELECTED),
                  "Tab into the list (%d): the focus is on the selected entry %r, %s" % (attempt, entry.name, place),
                  "%r, %s" % (entry.name, place))
        except Timeout as timeout:
            fail("%s; focus went to %s" % (timeout, [(s.getRoleName(), s.name) for s in focused]))
        x_tool(env, "xdotool", "key", "shift+Tab")
        wait_for("the box to have the focus again", lambda: box.getState().contains(pyatspi.STATE_FOCUSED),
                 pump=pump)
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")

    # The context menus. A menu is a popup, which Qt does not list among the
    # application's windows: a screen reader hears it through the focus on
    # its entries, and reads the entries from the focused one's parent.
    def vertical_scroll_bar(control):
        for container in control:
            for bar in (container or []):
                if bar is not None and bar.getRoleName() == "scroll bar":
                    extents = bar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                    if extents.height > extents.width and bar.getState().contains(pyatspi.STATE_SHOWING):
                        return extents
        return None

    def centre(extents):
        return extents.x + extents.width // 2, extents.y + extents.height // 2

    box_bar = vertical_scroll_bar(box)
    if not check(box_bar is not None, "the box's vertical scroll bar is on AT-SPI"):
        return
    # A list's accessible children are its entries alone; its scroll bar, as
    # wide as the box's, runs down inside its right edge.
    listed = names_list.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    list_bar = (listed.x + listed.width - 2 - box_bar.width // 2, listed.y + listed.height // 2)
    box_extents = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    for what, (x, y) in (("the box", centre(box_extents)), ("the box's scroll bar", centre(box_bar)),
                         ("the list's scroll bar", list_bar)):
        del focused[:]
        x_tool(env, "xdotool", "mousemove", "--sync", str(x), str(y), "click", "3")

        def menu_entry_focused():
            # Down highlights the first entry once the menu is open; before
            # that it only moves the box's caret.
            x_tool(env, "xdotool", "key", "Down")
            deadline = time.monotonic() + 1.0
            while time.monotonic() < deadline:
                pump()
                entries = [source for source in focused if source.getRoleName() == "menu item"]
                if entries:
                    return entries[-1]
                time.sleep(POLL)
            return None

        try:
            entry = wait_for("a context menu on %s" % what, menu_entry_focused)
            menu = entry.parent
            entries = [words(item.name) for item in menu if item is not None and item.name]
            check(menu.getRoleName() in ("popup menu", "menu") and entries
                  and all(is_bulgarian(entry) for entry in entries),
                  "%s's context menu (%s) is Bulgarian: %s" % (what, menu.getRoleName(), entries), str(entries))
        except Timeout as timeout:
            fail(str(timeout))
        x_tool(env, "xdotool", "key", "Escape")
        wait_for("the context menu to close",
                 lambda: x_tool(env, "xdotool", "search", "--onlyvisible", "--pid", str(kalvetor.pid)).split()
                 == [window], pump=pump)
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")

    with open(stderr_path, encoding="utf-8", errors="replace") as written:
        output = written.read()
    check(output == "", "still nothing on the program's stderr", repr(output))
    check(kalvetor.poll() is None, "the program is still running")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    if not os.environ.get("DISPLAY"):
        sys.exit("check_screen_reader.py: no DISPLAY; run it under scripts/x-desktop")
    processes = Processes()
    runtime = tempfile.mkdtemp(prefix="kalvetor-a11y-")  # mode 0700, as XDG_RUNTIME_DIR must be
    try:
        run(*sys.argv[1:], processes=processes, runtime=runtime)
    except Timeout as timeout:
        fail("timed out waiting for " + str(timeout))
    finally:
        processes.stop_all()
        shutil.rmtree(runtime, ignore_errors=True)
    if failures:
        print("screen reader: %d check(s) failed" % len(failures))
        sys.exit(1)
    print("screen reader: ok")


if __name__ == "__main__":
    main()
