#!/usr/bin/env python3
"""The program's window as a screen reader sees it over the AT-SPI bus.

Usage: atspi_tree.py PID [--press NAME]
       atspi_tree.py PID --steps STEP...

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


def all_nodes(app):
    found = []

    def collect(node):
        found.append(node)
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                collect(child)

    for i in range(app.get_child_count()):
        window = app.get_child_at_index(i)
        if window is not None and window.get_state_set().contains(Atspi.StateType.SHOWING):
            collect(window)
    return found


def wait_for(app, role, name, patience):
    deadline = time.time() + patience
    while time.time() < deadline:
        for node in all_nodes(app):
            try:
                if node.get_role_name() == role and node.get_name() == name:
                    return node
            except GLib.Error:
                pass
        time.sleep(0.2)
    return None


def press(node):
    # The Action interface's calls; newer bindings also offer them on the object itself.
    warnings.simplefilter("ignore", DeprecationWarning)
    action = node.get_action_iface()
    names = [action.get_action_name(i).lower() for i in range(action.get_n_actions())]
    action.do_action(names.index("press"))


def run_steps(app, steps):
    """press:NAME presses a button, type:NAME=TEXT fills a field, see:NAME waits for a text or label of that
    name (60 s), as a person with a screen reader would go."""
    for step in steps:
        kind, _, what = step.partition(":")
        print("step:", step)
        if kind == "press":
            node = wait_for(app, "push button", what, 30)
            if node is None:
                print("FAIL: no button named %r" % what)
                return 1
            press(node)
        elif kind == "type":
            name, _, text = what.partition("=")
            node = wait_for(app, "text", name, 30)
            if node is None:
                print("FAIL: no field named %r" % name)
                return 1
            node.get_editable_text_iface().set_text_contents(text)
        elif kind == "see":
            if wait_for(app, "text", what, 60) is None and wait_for(app, "label", what, 1) is None:
                print("FAIL: %r never showed" % what)
                return 1
    return 0


def main():
    pid = int(sys.argv[1])
    if "--steps" in sys.argv:
        app = find_app(pid)
        if app is None:
            print("FAIL: the program did not appear on the accessibility bus")
            return 1
        return run_steps(app, sys.argv[sys.argv.index("--steps") + 1 :])
    to_press = sys.argv[sys.argv.index("--press") + 1] if "--press" in sys.argv else None
    app = find_app(pid)
    if app is None:
        print("FAIL: the program did not appear on the accessibility bus")
        return 1
    problems, found = [], []
    for i in range(app.get_child_count()):
        window = app.get_child_at_index(i)
        if window is not None and window.get_state_set().contains(Atspi.StateType.SHOWING):
            walk(window, 0, problems, found)
    if to_press is None:
        for problem in problems:
            print("FAIL:", problem)
        return 1 if problems else 0

    button = next((n for n in found if n.get_role_name() == "push button" and n.get_name() == to_press), None)
    if button is None:
        problems.append("no button named %r" % to_press)
    else:
        heard = []

        def on_name(event):
            heard.append((event.source.get_role_name(), event.source.get_name()))

        listener = Atspi.EventListener.new(on_name)
        listener.register("object:property-change:accessible-name")
        press(button)
        loop = GLib.MainLoop()
        GLib.timeout_add(5000, loop.quit)
        GLib.timeout_add(100, lambda: (loop.quit() if any(r == "text" for r, _ in heard) else True))
        loop.run()
        listener.deregister("object:property-change:accessible-name")
        for role, name in heard:
            print("announced: [%s] %r" % (role, name))
        if not any(role == "text" and name.strip() for role, name in heard):
            problems.append("pressing %r announced no status" % to_press)
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
