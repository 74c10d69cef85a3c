#!/usr/bin/python3
"""Measures how long programs take from process start to the first paint of
their window, from outside: it starts each program, watches the X display for
the program's top-level window by its title, and reads one pixel of it until
the pixel shows the colour that only the program's own painting puts there.
Then it asks the window to close (WM_DELETE_WINDOW, as a window manager's close
does) and waits for the process to end.

    startup_probe.py RUNS LABEL TITLE X Y RRGGBB COMMAND [-- LABEL TITLE ...]

Each program is a LABEL, the window TITLE, the window point (X, Y) and its
painted colour RRGGBB, and the COMMAND (program and arguments) that starts it;
programs are separated by "--". Every program is started once to warm the
caches, then RUNS times, the programs taking turns. Prints each run's
milliseconds and then one line per program: "LABEL median MS min MS". Exits 1
when a
window does not show its colour within 30 s. Uses python3-xlib only.
"""
import statistics
import subprocess
import sys
import time

from Xlib import X, display, error, protocol

PAINT_TIMEOUT = 30.0
EXIT_TIMEOUT = 10.0
POLL_INTERVAL = 0.002
SETTLE = 0.5


class Watcher:
    """Top-level windows created on the display, with their names."""

    def __init__(self):
        self.d = display.Display()
        self.root = self.d.screen().root
        self.net_wm_name = self.d.intern_atom('_NET_WM_NAME')
        self.utf8 = self.d.intern_atom('UTF8_STRING')
        self.protocols = self.d.intern_atom('WM_PROTOCOLS')
        self.delete = self.d.intern_atom('WM_DELETE_WINDOW')
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.d.sync()
        self.created = []

    def drain(self):
        while self.d.pending_events():
            event = self.d.next_event()
            if event.type == X.CreateNotify and event.parent == self.root:
                self.created.append(event.window)

    def title(self, window):
        try:
            prop = window.get_full_property(self.net_wm_name, self.utf8)
        except error.XError:
            return None
        return bytes(prop.value).decode('utf-8', 'replace') if prop else None

    def pixel(self, window, x, y):
        """The pixel as (r, g, b), or None while the window is not viewable."""
        try:
            # Fails (BadMatch) while the window is not viewable.
            image = window.get_image(x, y, 1, 1, X.ZPixmap, 0xffffffff)
        except error.XError:
            return None
        b, g, r = image.data[0], image.data[1], image.data[2]
        return (r, g, b)

    def close(self, window):
        event = protocol.event.ClientMessage(window=window, client_type=self.protocols,
                                             data=(32, [self.delete, X.CurrentTime, 0, 0, 0]))
        try:
            window.send_event(event)
            self.d.flush()
        except error.XError:
            pass


def start_once(watcher, program):
    label, title, x, y, colour, command = program
    watcher.drain()
    watcher.created = []
    started = time.perf_counter()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    window = None
    elapsed = None
    while time.perf_counter() - started < PAINT_TIMEOUT:
        watcher.drain()
        if window is None:
            for candidate in watcher.created:
                if watcher.title(candidate) == title:
                    window = candidate
                    break
        if window is not None and watcher.pixel(window, x, y) == colour:
            elapsed = time.perf_counter() - started
            break
        # A light poll: the probe shares the processors with the program,
        # the wineserver and the X server it measures.
        time.sleep(POLL_INTERVAL)
    if window is not None:
        watcher.close(window)
    try:
        process.wait(EXIT_TIMEOUT)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    # The closed program's windows and process go away before the next
    # start, so that each start begins on a quiet display and server.
    time.sleep(SETTLE)
    if elapsed is None:
        raise RuntimeError('%s: no window "%s" showing #%02x%02x%02x at (%d, %d) within %.0f s'
                           % (label, title, *colour, x, y, PAINT_TIMEOUT))
    return elapsed * 1000.0


def parse(args):
    programs = []
    groups, current = [], []
    for arg in args:
        if arg == '--':
            groups.append(current)
            current = []
        else:
            current.append(arg)
    groups.append(current)
    for group in groups:
        if len(group) < 6:
            raise ValueError('a program needs LABEL TITLE X Y RRGGBB COMMAND')
        label, title, x, y, hexcolour = group[:5]
        colour = tuple(int(hexcolour[i:i + 2], 16) for i in (0, 2, 4))
        programs.append((label, title, int(x), int(y), colour, group[5:]))
    return programs


def main():
    if len(sys.argv) < 8:
        print(__doc__, file=sys.stderr)
        return 2
    runs = int(sys.argv[1])
    programs = parse(sys.argv[2:])
    watcher = Watcher()
    times = {p[0]: [] for p in programs}
    try:
        for program in programs:
            start_once(watcher, program)
        for run in range(runs):
            for program in programs:
                ms = start_once(watcher, program)
                times[program[0]].append(ms)
                print('startup: run %2d %-10s %7.1f ms' % (run + 1, program[0], ms), flush=True)
    except RuntimeError as failure:
        print('startup: %s' % failure, file=sys.stderr)
        return 1
    for label, values in times.items():
        print('%s median %.1f min %.1f' % (label, statistics.median(values), min(values)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
