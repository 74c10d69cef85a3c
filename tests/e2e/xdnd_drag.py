#!/usr/bin/python3
"""Drops files on the window under a screen point, as a desktop file manager
does, through the X drag-and-drop protocol (XDND).

    xdnd_drag.py X Y FILE...

Exits 0 when the target accepted and took the drop, 1 otherwise. Uses
python3-xlib only.
"""
import sys
import time
import urllib.parse
from pathlib import Path

from Xlib import X, Xatom, display, protocol

TIMEOUT = 5.0


def find_target(d, x, y):
    """The first window with XdndAware on the way down from the root at (x, y)."""
    aware = d.intern_atom('XdndAware')
    window = d.screen().root
    while window is not None:
        prop = window.get_full_property(aware, X.AnyPropertyType)
        if prop is not None and len(prop.value) > 0:
            return window, int(prop.value[0])
        reply = window.translate_coords(d.screen().root, x, y)
        child = reply.child
        if not child:
            return None, 0
        window = child
    return None, 0


def send(d, target, message_type, data):
    event = protocol.event.ClientMessage(window=target, client_type=message_type, data=(32, data))
    target.send_event(event, X.NoEventMask)
    d.flush()


def main():
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    x, y = int(sys.argv[1]), int(sys.argv[2])
    uris = ''.join('file://' + urllib.parse.quote(str(Path(p).resolve())) + '\r\n' for p in sys.argv[3:])
    payload = uris.encode('utf-8')

    d = display.Display()
    atom = d.intern_atom
    uri_list = atom('text/uri-list')
    source = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, X.InputOnly, X.CopyFromParent)
    source.set_selection_owner(atom('XdndSelection'), X.CurrentTime)
    source.change_property(atom('XdndTypeList'), Xatom.ATOM, 32, [uri_list])

    target, version = find_target(d, x, y)
    if target is None:
        print('xdnd_drag: no drop target at %d,%d' % (x, y), file=sys.stderr)
        return 1
    version = min(version, 5)

    send(d, target, atom('XdndEnter'), [source.id, version << 24, uri_list, 0, 0])
    send(d, target, atom('XdndPosition'), [source.id, 0, (x << 16) | y, X.CurrentTime, atom('XdndActionCopy')])

    accepted = None
    refusals = 0
    dropped = False
    deadline = time.time() + TIMEOUT
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.01)
            if accepted is not None and not dropped:
                if not accepted:
                    # Asked again: a target may refuse until it has the data.
                    refusals += 1
                    if refusals > 20:
                        send(d, target, atom('XdndLeave'), [source.id, 0, 0, 0, 0])
                        print('xdnd_drag: the target refused the drop', file=sys.stderr)
                        return 1
                    accepted = None
                    time.sleep(0.05)
                    send(d, target, atom('XdndPosition'),
                         [source.id, 0, (x << 16) | y, X.CurrentTime, atom('XdndActionCopy')])
                    continue
                send(d, target, atom('XdndDrop'), [source.id, 0, X.CurrentTime, 0, 0])
                dropped = True
            continue
        event = d.next_event()
        if event.type == X.SelectionRequest:
            # The target asks for the data as soon as it sees the enter
            # message, before it answers with a status.
            reply_property = event.property or event.target
            if event.target == uri_list:
                event.requestor.change_property(reply_property, uri_list, 8, payload)
            else:
                reply_property = X.NONE
            notify = protocol.event.SelectionNotify(time=event.time, requestor=event.requestor,
                                                    selection=event.selection, target=event.target,
                                                    property=reply_property)
            event.requestor.send_event(notify)
            d.flush()
        elif event.type == X.ClientMessage:
            if event.client_type == atom('XdndStatus'):
                accepted = bool(event.data[1][1] & 1)
            elif event.client_type == atom('XdndFinished'):
                return 0
    # A target that finished its work without a final message (the program
    # may have closed its window in the drop handler) still took the drop.
    return 0 if dropped else 1


if __name__ == '__main__':
    sys.exit(main())
