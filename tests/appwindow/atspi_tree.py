#!/usr/bin/env python3
"""The program's window as a screen reader sees it over the AT-SPI bus.

Usage: atspi_tree.py PID [--press NAME]

Prints the accessible tree of the process PID's windows (role, name, description). With --press, performs
the "press" action of the button named NAME and waits for the status line's name to change, printing the
announcement. Exits 1 when a control a reader stops at has no name or shows markup, or when no announcement
came.
"""
import re
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

STOPS = {"push button", "text", "label", "link", "entry", "password text"}
MARKUP = re.compile(r"<[a-zA-Z/!]|&[a-z]+;")


def find_app(pid, patience=30.0):
    deadline = time.time() + patience
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
                    return app
            except GLib.Error:
                pass
        time.sleep(0.3)
    return None


def walk(node, depth, problems, found):
    role = node.get_role_name()
    name = node.get_name() or ""
    description = node.get_description() or ""
    states = node.get_state_set()
    showing = states.contains(Atspi.StateType.SHOWING)
    line = "  " * depth + "[%s] %r" % (role, name)
    if description:
        line += " (%s)" % description
    if states.contains(Atspi.StateType.FOCUSABLE):
        line += " focusable"
    print(line)
    if showing and role in STOPS:
        if not name.strip():
            problems.append("no name: %s at depth %d" % (role, depth))
        for text in (name, description):
            if MARKUP.search(text):
                problems.append("markup: %r" % text)
    found.append(node)
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, depth + 1, problems, found)


def main():
    pid = int(sys.argv[1])
    press = sys.argv[sys.argv.index("--press") + 1] if "--press" in sys.argv else None
    app = find_app(pid)
    if app is None:
        print("FAIL: the program did not appear on the accessibility bus")
        return 1
    problems, found = [], []
    for i in range(app.get_child_count()):
        window = app.get_child_at_index(i)
        if window is not None and window.get_state_set().contains(Atspi.StateType.SHOWING):
            walk(window, 0, problems, found)
    if press is None:
        for problem in problems:
            print("FAIL:", problem)
        return 1 if problems else 0

    button = next((n for n in found if n.get_role_name() == "push button" and n.get_name() == press), None)
    if button is None:
        problems.append("no button named %r" % press)
    else:
        heard = []

        def on_name(event):
            heard.append((event.source.get_role_name(), event.source.get_name()))

        listener = Atspi.EventListener.new(on_name)
        listener.register("object:property-change:accessible-name")
        # The Action interface's calls, which newer bindings also offer on the object itself.
        warnings.simplefilter("ignore", DeprecationWarning)
        action = button.get_action_iface()
        names = [action.get_action_name(i).lower() for i in range(action.get_n_actions())]
        button.do_action(names.index("press"))
        loop = GLib.MainLoop()
        GLib.timeout_add(5000, loop.quit)
        GLib.timeout_add(100, lambda: (loop.quit() if any(r == "text" for r, _ in heard) else True))
        loop.run()
        listener.deregister("object:property-change:accessible-name")
        for role, name in heard:
            print("announced: [%s] %r" % (role, name))
        if not any(role == "text" and name.strip() for role, name in heard):
            problems.append("pressing %r announced no status" % press)
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
