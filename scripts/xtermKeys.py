#!/usr/bin/env python3
"""Runs a program on a terminal of its own, passing the user's terminal through
both ways, with Home and End handed on as xterm sends them.

Wine's console reads the keys from the terminal's byte stream itself: it knows
xterm's ESC[H and ESC[F (and ESC OH, ESC OF) as Home and End (virtual keys 0x24
and 0x23), but turns each of ESC[1~ and ESC[4~, which tmux and screen send
(rxvt: ESC[7~ and ESC[8~), into the same key event with virtual key, scan code
and character all 0, so a program under Wine cannot tell them apart.

usage: xtermKeys.py PROGRAM [ARGUMENTS...]; exits with the program's status."""
import fcntl
import os
import select
import signal
import sys
import termios
import tty

HOME, END = b"\x1b[H", b"\x1b[F"
AS_XTERM = ((b"\x1b[1~", HOME), (b"\x1b[7~", HOME), (b"\x1b[4~", END), (b"\x1b[8~", END))


def xterm_keys(data):
    # A terminal writes a key's whole sequence at once, so one read holds it.
    for sent, xterm in AS_XTERM:
        data = data.replace(sent, xterm)
    return data


def copy_size(source, target):
    try:
        fcntl.ioctl(target, termios.TIOCSWINSZ, fcntl.ioctl(source, termios.TIOCGWINSZ, b"\0" * 8))
    except OSError:
        pass


def write_all(fd, data):
    while data:
        data = data[os.write(fd, data):]


def main(argv):
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2
    user = sys.stdin.fileno()
    master, slave = os.openpty()
    copy_size(user, slave)
    pid = os.fork()
    if pid == 0:
        os.close(master)
        os.login_tty(slave)
        # The program leads the new terminal's session: when it ends, the
        # servers Wine leaves running behind it must not get its hang-up.
        signal.signal(signal.SIGHUP, signal.SIG_IGN)
        try:
            os.execvp(argv[0], argv)
        finally:
            os._exit(127)
    os.close(slave)
    signal.signal(signal.SIGWINCH, lambda *_: copy_size(user, master))
    saved = termios.tcgetattr(user)
    tty.setraw(user)
    status = None
    sources = [user, master]
    try:
        while status is None:
            ready, _, _ = select.select(sources, [], [], 0.2)
            if user in ready:
                data = os.read(user, 4096)
                if data:
                    write_all(master, xterm_keys(data))
                else:
                    sources.remove(user)
            if master in ready:
                try:
                    data = os.read(master, 65536)
                except OSError:  # every holder of the program's terminal has closed it
                    data = b""
                if data:
                    write_all(sys.stdout.fileno(), data)
                else:
                    sources.remove(master)
            done, waited = os.waitpid(pid, os.WNOHANG)
            if done:
                status = waited
        # What the program wrote last (Wine's console may still be restoring the
        # terminal); servers that linger keep the terminal open, so not to its end.
        while master in sources and select.select([master], [], [], 0.5)[0]:
            try:
                data = os.read(master, 65536)
            except OSError:
                break
            if not data:
                break
            write_all(sys.stdout.fileno(), data)
    finally:
        termios.tcsetattr(user, termios.TCSADRAIN, saved)
    code = os.waitstatus_to_exitcode(status)
    return code if code >= 0 else 128 - code


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
