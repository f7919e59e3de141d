#!/usr/bin/env python3
"""What a screen reader meets in the gallery (kav-gallery), over the accessibility bus.

    atspi_gallery.py PID

Every control a reader can land on carries a name: push buttons and picture buttons (a picture
without a caption is named by its hint), the title-bar control buttons (also focusable), edits,
spin edits, combo boxes, track, scroll and progress bars. A read-only edit is read-only and not
also editable; the spin edit exposes its text; the rolling panel's push button is there, with its
key. Exits non-zero with a message listing what is wrong.
"""
import sys
import time

import pyatspi

from atspi_common import TIMEOUT_S, fail, find_app, showing, walk

NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_PROGRESS_BAR, pyatspi.ROLE_PAGE_TAB,
}


def state(node, which):
    return node.getState().contains(which)


def main():
    app = find_app(int(sys.argv[1]))
    # The tree is complete once the gallery's last section (the page control) is there.
    deadline = time.time() + TIMEOUT_S
    while time.time() < deadline:
        nodes = [n for n in walk(app) if showing(n)]
        if any(n.getRole() == pyatspi.ROLE_PAGE_TAB and n.name == "Report" for n in nodes):
            break
        time.sleep(0.5)
    problems = []
    for node in nodes:
        role = node.getRole()
        if role in NAMED_ROLES and not node.name.strip():
            try:
                parent = node.parent
                where = " (in a %s named %r)" % (parent.getRoleName(), parent.name) if parent else ""
            except Exception:
                where = ""
            problems.append("a %s has no name%s" % (node.getRoleName(), where))

    def named(role, name):
        return [n for n in nodes if n.getRole() == role and n.name == name]

    for name in ("Play", "Window menu", "Help", "Maximize", "Restore", "Minimize", "Close"):
        if not named(pyatspi.ROLE_PUSH_BUTTON, name):
            problems.append("no button named %r" % name)
    for name in ("Window menu", "Help", "Maximize", "Restore", "Minimize", "Close"):
        buttons = named(pyatspi.ROLE_PUSH_BUTTON, name)
        if buttons and not any(state(b, pyatspi.STATE_FOCUSABLE) for b in buttons):
            problems.append("the control button %r cannot take the focus" % name)
    for name in ("Edit", "Mask", "Number"):
        if not [n for n in nodes if n.name == name and n.getRole() in (pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT)]:
            problems.append("no edit named by its label %r" % name)
    read_only = [n for n in nodes if n.name == "Read-only edit"]
    if not read_only:
        problems.append("no read-only edit")
    elif state(read_only[0], pyatspi.STATE_EDITABLE):
        problems.append("the read-only edit is also editable")
    spins = named(pyatspi.ROLE_SPIN_BUTTON, "Spin")
    if not spins:
        problems.append("no spin edit named by its label 'Spin'")
    else:
        try:
            text = spins[0].queryText()
            shown = text.getText(0, text.characterCount)
        except NotImplementedError:
            shown = None
        if shown != "42":
            problems.append("the spin edit shows %r, not '42'" % shown)
    rolls = named(pyatspi.ROLE_PUSH_BUTTON, "Roll up")
    if not rolls:
        problems.append("the panel's roll-up button is not there")
    else:
        action = rolls[0].queryAction()
        keys = [action.getKeyBinding(i) for i in range(action.nActions)]
        if not any("Alt" in k and "Up" in k for k in keys):
            problems.append("the roll-up button tells no key (%r)" % keys)
    if problems:
        fail("; ".join(sorted(set(problems))))
    print("atspi gallery: passed")


if __name__ == "__main__":
    main()
