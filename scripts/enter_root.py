#!/usr/bin/python3
"""Runs COMMAND in ROOT with only the powers over files, users and its own processes that
installing packages and the tests need: none to mount, make devices, chroot again, trace or read
processes outside the root, use raw sockets or change the machine. The powers are dropped here,
between chroot and exec, by this machine's Python, and nothing of the root's own is read or run
before they are: after chroot this program imports nothing, and fails without a traceback,
which would read its source through the root. It leaves the terminal too: a command with none
cannot type into the shell that ran it.
  enter_root.py ROOT COMMAND [ARGUMENTS...]"""
import ctypes
import os
import signal
import sys

PR_CAPBSET_DROP, PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL = 24, 47, 4
CAPABILITY_VERSION_3 = 0x20080522
# chown, dac_override, fowner, fsetid, kill, setgid, setuid, setpcap, audit_write, setfcap
KEPT = {0, 1, 3, 4, 5, 6, 7, 8, 29, 31}
KEPT_MASK = sum(1 << capability for capability in KEPT)

libc = ctypes.CDLL(None, use_errno=True)
header = (ctypes.c_uint32 * 2)(CAPABILITY_VERSION_3, 0)
# Effective, permitted and inheritable, for capabilities 0-31 and then 32-63.
sets = (ctypes.c_uint32 * 6)(KEPT_MASK, KEPT_MASK, 0, 0, 0, 0)
with open("/proc/sys/kernel/cap_last_cap") as last:
    capabilities = [c for c in range(int(last.read()) + 1) if c not in KEPT]
root, command = sys.argv[1], sys.argv[2:]

# Nothing of Python's own may run after chroot either: no handler for Ctrl-C, no traceback.
signal.signal(signal.SIGINT, signal.SIG_DFL)
sys.excepthook = lambda *_: os._exit(127)
os.chroot(root)
try:
    os.chdir("/")
    for capability in capabilities:
        if libc.prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0:
            raise OSError
    if libc.prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0:
        raise OSError
    if libc.capset(header, sets) != 0:
        raise OSError
    os.setsid()
    os.execv(command[0], command)
except BaseException:
    try:
        os.write(2, b"enter_root.py: cannot run the command in the root\n")
    finally:
        os._exit(127)
