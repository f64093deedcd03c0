#!/usr/bin/python3
"""Runs COMMAND in ROOT with only the powers over files, users and its own processes that
installing packages and the tests need: none to mount, make devices, chroot again, trace or read
processes outside the root, use raw sockets or change the machine. The powers are dropped here,
between chroot and exec, by this machine's Python, so nothing of the root's own runs before.
It leaves the terminal too: a command with none cannot type into the shell that ran it.
  enter_root.py ROOT COMMAND [ARGUMENTS...]"""
import ctypes
import os
import sys

PR_CAPBSET_DROP = 24
# chown, dac_override, fowner, fsetid, kill, setgid, setuid, setpcap, audit_write, setfcap
KEPT = {0, 1, 3, 4, 5, 6, 7, 8, 29, 31}

libc = ctypes.CDLL(None, use_errno=True)
with open("/proc/sys/kernel/cap_last_cap") as last:
    capabilities = range(int(last.read()) + 1)
os.chroot(sys.argv[1])
os.chdir("/")
for capability in capabilities:
    if capability not in KEPT and libc.prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0:
        raise OSError(ctypes.get_errno(), f"cannot drop capability {capability}")
os.setsid()
os.execv(sys.argv[2], sys.argv[2:])
