#!/usr/bin/env python3
"""Takes an exam through the accessibility bus alone, as a screen reader user would.

    atspi_exam.py PID

Finds the exam window of process PID, chooses 40 questions, starts, answers through the
answer boxes found by their names, pages on, hands in, and checks what a reader is told: the
questions as names, the marks and right answers as descriptions, the page number and the score
announced, and no box of a page out of sight offered as showing. Exits non-zero with a message
on the first failure.
"""
import re
import sys
import time

import pyatspi

from atspi_common import TIMEOUT_S, fail, find_app, showing, walk
from gi.repository import GLib

QUESTION = re.compile(r"^第 (\d+) 题：(\d+) ([+\-×÷]) (\d+) =$")


def find(app, role, name_part):
    for node in walk(app):
        if node.getRole() == role and name_part in node.name and showing(node):
            return node
    fail("no showing object of role %s named like %r" % (role, name_part))


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "Toggle", "toggle", "SetFocus"):
            action.doAction(i)
            return
    fail("%r offers no press action (%s)" % (node.name, [action.getName(i) for i in range(action.nActions)]))


def answer_boxes(app):
    """Showing answer boxes by question number, with their parsed questions."""
    boxes = {}
    for node in walk(app):
        if node.getRole() not in (pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT):
            continue
        match = QUESTION.match(node.name)
        if match and showing(node):
            boxes[int(match.group(1))] = (node, match)
    return boxes


def expected(match):
    a, op, b = int(match.group(2)), match.group(3), int(match.group(4))
    return {"+": a + b, "-": a - b, "×": a * b, "÷": a // b if b else None}[op]


def announced(seen, text):
    return any(kind == "object:state-changed:showing" and role == pyatspi.ROLE_NOTIFICATION
               and text in name and detail == 1 for kind, role, name, detail in seen)


def expect_announcement(action, text):
    """Runs action and listens until a notification saying text shows (a reader speaks those)."""
    seen = []

    def on_event(event):
        try:
            seen.append((event.type, event.source.getRole(), event.source.name, event.detail1))
        except Exception:
            return
        if announced(seen, text):
            pyatspi.Registry.stop()

    timed_out = []

    def give_up():
        timed_out.append(True)
        pyatspi.Registry.stop()
        return False

    kinds = ["object:state-changed:showing"]
    pyatspi.Registry.registerEventListener(on_event, *kinds)
    GLib.idle_add(lambda: (action(), False)[1])
    timeout = GLib.timeout_add(TIMEOUT_S * 1000, give_up)
    pyatspi.Registry.start()
    if not timed_out:
        GLib.source_remove(timeout)
    pyatspi.Registry.deregisterEventListener(on_event, *kinds)
    if not announced(seen, text):
        fail("%r was not announced; shown were %r" % (text, seen))


def wait_for(condition, message):
    """condition's value once it has one; message (text, or a function giving it) otherwise."""
    deadline = time.time() + TIMEOUT_S
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    fail(message() if callable(message) else message)


def boxes_of_page(app, first, last):
    """The showing answer boxes once they are exactly first..last: no box of another page."""
    found = {}

    def exactly():
        found.clear()
        found.update(answer_boxes(app))
        return dict(found) if sorted(found) == list(range(first, last + 1)) else None

    return wait_for(exactly, lambda: "showing answer boxes are %s, not %d..%d" % (sorted(found), first, last))


def main():
    app = find_app(int(sys.argv[1]))
    press(find(app, pyatspi.ROLE_RADIO_BUTTON, "40"))

    expect_announcement(lambda: press(find(app, pyatspi.ROLE_PUSH_BUTTON, "开始考试")), "第 1 页")
    boxes = boxes_of_page(app, 1, 20)

    # One right, one wrong, the rest left empty.
    box1, question1 = boxes[1]
    box2, question2 = boxes[2]
    box1.queryEditableText().setTextContents(str(expected(question1)))
    box2.queryEditableText().setTextContents(str(expected(question2) + 1))

    expect_announcement(lambda: press(find(app, pyatspi.ROLE_PUSH_BUTTON, "下一页")), "第 2 页")
    boxes = boxes_of_page(app, 21, 40)
    box21, question21 = boxes[21]

    expect_announcement(lambda: press(find(app, pyatspi.ROLE_PUSH_BUTTON, "我要交卷")),
                        "本次考试总题数:40 正确:1 错误:1 未完成:38")

    description = box21.description
    want = "未完成，正确答案是 %d" % expected(question21)
    if description != want:
        fail("box 21 describes %r, not %r" % (description, want))
    # The pupil goes back to page 1 to review it.
    press(find(app, pyatspi.ROLE_PUSH_BUTTON, "上一页"))
    boxes = boxes_of_page(app, 1, 20)
    for row, want in ((1, "正确"), (2, "错误，正确答案是 %d" % expected(question2)),
                      (3, "未完成，正确答案是 %d" % expected(boxes[3][1]))):
        got = boxes[row][0].description
        if got != want:
            fail("box %d describes %r, not %r" % (row, got, want))
    print("atspi exam: passed")


if __name__ == "__main__":
    main()
