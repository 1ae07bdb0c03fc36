#!/usr/bin/env python3
"""Ctrl-C typed at a terminal: at the command prompt and in model entry the line being typed
is abandoned and the prompt shown again; the model entered so far and the session survive.
Usage: session_terminal.py QUIRN-BINARY (exit 77: no terminal can be had here)."""
import os
import pty
import select
import sys
import tempfile
import time

binary = os.path.abspath(sys.argv[1])
work = tempfile.mkdtemp()
try:
    pid, fd = pty.fork()
except OSError:
    sys.exit(77)
if pid == 0:
    os.chdir(work)
    os.execv(binary, [binary])

seen = b""


def expect(text, timeout=20.0):
    """Reads the terminal until text has appeared after what was matched before; returns
    what was read up to its end."""
    global seen
    end = time.time() + timeout
    while text not in seen:
        left = end - time.time()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            sys.exit("FAIL: waited for %r; the terminal shows:\n%s" % (text, seen.decode(errors="replace")))
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            chunk = b""
        if not chunk:
            sys.exit("FAIL: the program ended while waiting for %r:\n%s" % (text, seen.decode(errors="replace")))
        seen += chunk
    cut = seen.index(text) + len(text)
    got, seen = seen[:cut], seen[cut:]
    return got


def type_(text):
    os.write(fd, text.encode())


expect(b"\n: ")
type_("LOOK ALL")
time.sleep(0.3)
type_("\x03")                    # Ctrl-C at the command prompt
expect(b"\n: ")                  # the prompt again
type_("MODEL:\n")
expect(b"? ")
type_("MAX = X;\n")
expect(b"? ")
type_("X < 4;\n")
expect(b"? ")
type_("junk")
time.sleep(0.3)
type_("\x03")                    # Ctrl-C in model entry
expect(b"? ")
type_("END\n")
expect(b": ")
type_("LOOK ALL\n")
listing = expect(b"END")
type_("QUIT\n")
_, status = os.waitpid(pid, 0)
if b"junk" in listing or b"2]X < 4;" not in listing:
    sys.exit("FAIL: the model after Ctrl-C in model entry:\n" + listing.decode(errors="replace"))
if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
    sys.exit("FAIL: exit status %r" % status)
print("ok")
