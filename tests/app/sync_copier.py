#!/usr/bin/env python3
"""Plays a sync service between two folders for the sync end-to-end test.

    sync_copier.py FOLDER_A NAME_A FOLDER_B NAME_B PAUSE_FILE LOG_FILE

Each PC's device file (its name starts with the PC's name) is copied to the
other folder once it has stood unchanged for a second, as services wait for
a file to settle. Every third copy arrives as a "conflicted copy" under
another name, and every other copy arrives in two pieces: first half of it,
then the rest. Nothing is copied while PAUSE_FILE exists. Each copy is logged
as "<unix time> <destination name>"."""
import os
import sys
import time

folder_a, name_a, folder_b, name_b, pause, log = sys.argv[1:7]
routes = [(folder_a, name_a + "-", folder_b), (folder_b, name_b + "-", folder_a)]
copied = {}
count = 0

while True:
    time.sleep(0.2)
    if os.path.exists(pause):
        continue
    for source, prefix, target in routes:
        try:
            names = os.listdir(source)
        except OSError:
            continue
        for name in names:
            if not name.startswith(prefix) or not name.endswith(".vnsync"):
                continue
            path = os.path.join(source, name)
            try:
                stat = os.stat(path)
                if time.time() - stat.st_mtime < 1.0:
                    continue
                key = (source, name)
                if copied.get(key) == (stat.st_mtime_ns, stat.st_size):
                    continue
                data = open(path, "rb").read()
            except OSError:
                continue
            count += 1
            out = name
            if count % 3 == 0:
                out = name[: -len(".vnsync")] + " (conflicted copy %d).vnsync" % count
            dest = os.path.join(target, out)
            with open(dest, "wb") as f:
                if count % 2 == 0:
                    f.write(data[: len(data) // 2])
                    f.flush()
                    time.sleep(0.4)
                f.write(data[len(data) // 2 :] if count % 2 == 0 else data)
            copied[key] = (stat.st_mtime_ns, stat.st_size)
            with open(log, "a") as f:
                f.write("%.3f %s\n" % (time.time(), out))
