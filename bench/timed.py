#!/usr/bin/env python3
"""Runs one command and prints its wall time in seconds, the peak resident
memory of its process tree's largest process in KiB, its exit status, and
the processor time its process tree spent in its own code and in the
kernel, in seconds:

    bench/timed.py [--cwd DIR] [--env NAME=VALUE]... -- COMMAND [ARG]...

prints  "<seconds> <peak KiB> <status> <user seconds> <system seconds>"  on
one line. The clock starts just
before the program is started and stops when it has been reaped, so both
sides of a comparison pay the same start-up of a process.
"""
import os
import sys
import time


def main(argv):
    env = dict(os.environ)
    cwd = None
    args = argv[1:]
    while args and args[0] != "--":
        if args[0] == "--cwd":
            cwd = args[1]
            args = args[2:]
        elif args[0] == "--env":
            name, _, value = args[1].partition("=")
            env[name] = value
            args = args[2:]
        else:
            sys.exit("unknown option " + args[0])
    command = args[1:]
    if not command:
        sys.exit(__doc__)
    start = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        try:
            if cwd:
                os.chdir(cwd)
            devnull = os.open(os.devnull, os.O_WRONLY)
            os.dup2(devnull, 1)
            os.execvpe(command[0], command, env)
        finally:
            os._exit(127)
    _, status, usage = os.wait4(pid, 0)
    seconds = time.perf_counter() - start
    print("%.4f %d %d %.4f %.4f" % (seconds, usage.ru_maxrss, os.waitstatus_to_exitcode(status), usage.ru_utime,
                                   usage.ru_stime))


if __name__ == "__main__":
    main(sys.argv)
