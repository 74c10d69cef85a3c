#!/usr/bin/python3
"""Waits until a window asks the window manager to iconify it.

    iconify_watch.py WINDOW SECONDS

A client minimises its top-level X window by sending the ICCCM message
WM_CHANGE_STATE with IconicState to the root window (XIconifyWindow), which is
what Wine does when a program minimises its window. This listens on the root
for that message about WINDOW (an X id, decimal or 0x hex), prints "ready"
once it listens and "iconify" when the message comes. Exits 0 then, 1 when
SECONDS pass without it. Uses python3-xlib only.
"""
import sys
import time

from Xlib import X, display

ICONIC_STATE = 3


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    window = int(sys.argv[1], 0)
    deadline = time.time() + float(sys.argv[2])
    d = display.Display()
    change_state = d.intern_atom('WM_CHANGE_STATE')
    # The message goes to the root with the substructure masks: any client
    # that selects substructure notification there receives it too.
    d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()
    print('ready', flush=True)
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.01)
            continue
        event = d.next_event()
        if (event.type == X.ClientMessage and event.client_type == change_state and event.window.id == window
                and event.data[1][0] == ICONIC_STATE):
            print('iconify', flush=True)
            return 0
    return 1


if __name__ == '__main__':
    sys.exit(main())
