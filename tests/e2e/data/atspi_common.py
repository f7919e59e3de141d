"""What the accessibility end-to-end checks share: failing, walking another process's tree
(bounded, since the tree comes from outside) and finding a program on the bus by its process."""

import sys
import time

import pyatspi

TIMEOUT_S = 30


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def walk(node, depth=0):
    """Every object of the tree below node (bounded, since the tree comes from another process)."""
    if node is None or depth > 40:
        return
    yield node
    try:
        count = min(node.childCount, 2000)
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.time() + TIMEOUT_S
    while time.time() < deadline:
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.2)
    fail("process %d never appeared on the accessibility bus" % pid)
