#!/usr/bin/python3
"""Starts the installed /usr/bin/kalvetor on an Xvfb of its own and reads its
window through AT-SPI: the box shows the introduction; a click (real X input,
through xdotool) on the third name shows that name's entry. The expected texts
come from the sources' catalogue/content. Run on a D-Bus session bus of its
own (dbus-run-session), from the top of the sources. Every wait is bounded."""

import os
import subprocess
import sys
import time

TIMEOUT = 60.0


def wait_for(what, condition):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        try:
            value = condition()
        except Exception:  # an object not made yet
            value = None
        if value:
            return value
        time.sleep(0.1)
    sys.exit("FAIL: no %s within %.0f s" % (what, TIMEOUT))


def plain(text):
    return " ".join(text.split())


with open("catalogue/content/introduction.txt", encoding="utf-8") as f:
    introduction = plain(f.read())
with open("catalogue/content/entries.txt", encoding="utf-8") as f:
    entries = dict(line.rstrip("\n").split("|", 1) for line in f if line.strip())

read_end, write_end = os.pipe()
xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                        pass_fds=[write_end], stderr=subprocess.DEVNULL)
os.close(write_end)
kalvetor = None
try:
    with os.fdopen(read_end) as displayfd:
        display = displayfd.readline().strip()
    if not display:
        sys.exit("FAIL: Xvfb did not start")
    os.environ["DISPLAY"] = ":" + display
    import pyatspi

    kalvetor = subprocess.Popen(["/usr/bin/kalvetor"],
                                env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == kalvetor.pid and app.childCount > 0:
                return app
        return None

    frame = wait_for("window on AT-SPI", application)[0]
    roles = {child.getRoleName(): child for child in frame if child is not None}
    names, box = roles["list"], roles["text"].queryText()
    shown = wait_for("box text", lambda: plain(box.getText(0, -1)))
    # The introduction names the awakeners where it says {names}.
    if not all(part.strip() in shown for part in introduction.split("{names}")):
        sys.exit("FAIL: the window opened without the introduction: %r" % shown[:80])
    print("ok: the window opened with the introduction")

    chosen = names[2]
    place = chosen.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", "--sync", str(place.x + place.width // 2),
                    str(place.y + place.height // 2), "click", "1"], check=True, timeout=TIMEOUT)
    expected = plain(entries[chosen.name])
    wait_for("entry of %s after the click" % chosen.name, lambda: plain(box.getText(0, -1)) == expected)
    print("ok: a click on %s shows its entry" % chosen.name)
finally:
    if kalvetor is not None:
        kalvetor.terminate()
        kalvetor.wait(timeout=TIMEOUT)
    xvfb.terminate()
    xvfb.wait(timeout=TIMEOUT)
