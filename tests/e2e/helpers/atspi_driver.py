#!/usr/bin/python3
"""Drives and reads a running program through AT-SPI alone, as a screen reader would.

Usage: atspi_driver.py PID VERB [ARGS...]; prints what the verb reads, exits 1 when it cannot. Verbs:
  wait                        until the program's main window is in the accessibility tree
  tree                        the whole tree, one object a line (rows of long lists: only those on screen)
  walk ROUNDS                 reads the whole tree ROUNDS times; prints each round's seconds and the median
  name DESCRIPTION            the name of the object described so
  focus NAME                  gives the keyboard focus to the object of that name
  type TEXT                   types TEXT as key presses, and prints the name changes reported meanwhile
  key KEY                     presses a key: a key name, with "ctrl+" or "alt+" in front for that key held
  action NAME ACTION          carries out the named action of the object of that name
  checked NAME                "checked" or "unchecked"
  width                       the width of the main window
  popup                       the items of the program's open popup menu, named Verbarium
  window TITLE                until a window of that title is in the tree
  entry                       the text of the entry view (the read-only multi-line text on screen)
"""
import statistics
import sys
import time

import pyatspi
from gi.repository import GLib

# Containers that say they manage their descendants (long lists) are read only as far as they are shown.
LAZY = pyatspi.STATE_MANAGES_DESCENDANTS


def application(pid, timeout=15.0):
    end = time.monotonic() + timeout
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except GLib.GError:
                pass
        if time.monotonic() > end:
            sys.exit(f"no application with process {pid} in the accessibility tree")
        time.sleep(0.2)


def shown_rows(obj):
    """The children of a long list that are on screen: from the one at its top-left corner down."""
    try:
        x, y, w, h = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        first = obj.queryComponent().getAccessibleAtPoint(x + 2, y + 2, pyatspi.DESKTOP_COORDS)
    except (NotImplementedError, GLib.GError):
        return []
    if first is None:
        return []
    rows = []
    index = first.getIndexInParent()
    while 0 <= index < obj.childCount:
        row = obj.getChildAtIndex(index)
        if row is None or not row.getState().contains(pyatspi.STATE_SHOWING):
            break
        rows.append(row)
        index += 1
    return rows


def walk(obj, depth=0, out=None):
    """Every object under obj as (depth, object), reading each one's role, name, description and states."""
    if out is None:
        out = []
    out.append((depth, obj, obj.getRoleName(), obj.name, obj.description, obj.getState()))
    states = out[-1][5]
    children = shown_rows(obj) if states.contains(LAZY) else \
        [obj.getChildAtIndex(i) for i in range(obj.childCount)]
    for child in children:
        if child is not None:
            walk(child, depth + 1, out)
    return out


def objects(app):
    return [(entry[1], entry[2], entry[3], entry[4], entry[5]) for entry in walk(app)]


def find(app, test, what, timeout=10.0):
    end = time.monotonic() + timeout
    while True:
        for obj, role, name, description, states in objects(app):
            if test(role, name, description, states):
                return obj
        if time.monotonic() > end:
            sys.exit(f"nothing {what} in the tree")
        time.sleep(0.2)


def named(app, name):
    return find(app, lambda r, n, d, s: n == name and s.contains(pyatspi.STATE_SHOWING), f"named {name!r}")


def described(app, description):
    return find(app, lambda r, n, d, s: d == description and s.contains(pyatspi.STATE_SHOWING),
                f"described {description!r}")


def main_frame(app):
    return find(app, lambda r, n, d, s: r == "frame" and n == "Verbarium", "framed Verbarium")


def line(depth, obj, role, name, description, states):
    flags = [pyatspi.stateToString(s) for s in (pyatspi.STATE_FOCUSED, pyatspi.STATE_CHECKED)
             if states.contains(s)]
    if states.contains(LAZY):
        flags.append(f"manages descendants: {obj.childCount} children")
    text = f"{'  ' * depth}[{role}] {name!r}"
    if description:
        text += f" — {description}"
    if flags:
        text += f" ({', '.join(flags)})"
    return text


def press(key):
    """A key as the registry's device controller synthesises it; "shift+", "ctrl+" or "alt+" holds that key around it."""
    masks = {"shift": 1 << 0, "ctrl": 1 << 2, "alt": 1 << 3}
    *held, name = key.split("+")
    mask = 0
    for modifier in held:
        mask |= masks[modifier]
    if mask:
        pyatspi.Registry.generateKeyboardEvent(mask, None, pyatspi.KEY_LOCKMODIFIERS)
    pyatspi.Registry.generateKeyboardEvent(keysym(name), None, pyatspi.KEY_SYM)
    if mask:
        pyatspi.Registry.generateKeyboardEvent(mask, None, pyatspi.KEY_UNLOCKMODIFIERS)


def keysym(name):
    named_keys = {"F1": 0xFFBE, "Return": 0xFF0D, "Escape": 0xFF1B, "Down": 0xFF54, "Up": 0xFF52, "F4": 0xFFC1,
                  "BackSpace": 0xFF08, "Home": 0xFF50}
    if name in named_keys:
        return named_keys[name]
    if len(name) == 1:
        return ord(name)
    sys.exit(f"unknown key {name!r}")


def watch_names(seconds, act):
    """Runs act(), then collects the name changes reported within seconds: (description, new name)."""
    seen = []

    def changed(event):
        source = event.source
        try:
            seen.append((source.description, source.name))
        except GLib.GError:
            pass

    pyatspi.Registry.registerEventListener(changed, "object:property-change:accessible-name")
    GLib.timeout_add(100, lambda: act() and False)
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(changed, "object:property-change:accessible-name")
    return seen


def main(argv):
    pid, verb, args = int(argv[1]), argv[2], argv[3:]
    app = application(pid)
    if verb == "wait":
        main_frame(app)
    elif verb == "tree":
        for depth, obj, role, name, description, states in walk(app):
            print(line(depth, obj, role, name, description, states))
    elif verb == "walk":
        rounds = []
        count = 0
        for _ in range(int(args[0])):
            start = time.perf_counter()
            count = len(walk(application(pid)))
            rounds.append(time.perf_counter() - start)
        for seconds in rounds:
            print(f"round {seconds:.3f} s")
        print(f"objects {count}")
        print(f"median {statistics.median(rounds):.3f} s")
    elif verb == "name":
        print(described(app, args[0]).name)
    elif verb == "focus":
        target = named(app, args[0])
        if not target.queryComponent().grabFocus():
            sys.exit(f"{args[0]!r} did not take the focus")
    elif verb == "type":
        def type_text():
            pyatspi.Registry.generateKeyboardEvent(0, args[0], pyatspi.KEY_STRING)
            return False
        for description, name in watch_names(2.0, type_text):
            print(f"name changed: {name!r} — {description}")
    elif verb == "key":
        press(args[0])
    elif verb == "action":
        target = named(app, args[0])
        actions = target.queryAction()
        for i in range(actions.nActions):
            if actions.getName(i) == args[1]:
                actions.doAction(i)
                return 0
        names = [actions.getName(i) for i in range(actions.nActions)]
        sys.exit(f"{args[0]!r} has no action {args[1]!r}, only {names}")
    elif verb == "checked":
        state = named(app, args[0]).getState()
        print("checked" if state.contains(pyatspi.STATE_CHECKED) else "unchecked")
    elif verb == "width":
        print(main_frame(app).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[2])
    elif verb == "popup":
        menu = find(app, lambda r, n, d, s: r == "popup menu" and n == "Verbarium" and s.contains(pyatspi.STATE_SHOWING),
                    "a popup menu")
        for i in range(menu.childCount):
            item = menu.getChildAtIndex(i)
            print(f"[{item.getRoleName()}] {item.name!r}")
    elif verb == "window":
        find(app, lambda r, n, d, s: r in ("frame", "dialog", "window") and n == args[0], f"window {args[0]!r}")
    elif verb == "entry":
        view = find(app, lambda r, n, d, s: r == "text" and s.contains(pyatspi.STATE_MULTI_LINE)
                    and s.contains(pyatspi.STATE_SHOWING) and not s.contains(pyatspi.STATE_EDITABLE), "the entry view")
        print(view.queryText().getText(0, -1))
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
