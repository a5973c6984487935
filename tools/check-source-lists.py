#!/usr/bin/env python3
"""Checks that the engine's and the desktop program's CMake source lists name every source file of their folders
and nothing that does not exist. Exits 1 on a difference.

    tools/check-source-lists.py [repository root]
"""
import os
import re
import sys

root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
problems = []
for folder, names, suffixes, skip in (('engine', ('engine_sources',), ('.cpp',), ()),
                                      ('gui', ('gui_sources', 'gui_headers'), ('.cpp', '.h'), ('app/main.cpp',))):
    text = open(os.path.join(root, folder, 'CMakeLists.txt')).read()
    listed = set()
    for name in names:
        m = re.search(r'set\(' + name + r'\n(.*?)\)', text, re.S)
        if not m:
            problems.append(f'{folder}/CMakeLists.txt has no list {name}')
            continue
        listed.update(line.strip() for line in m.group(1).splitlines() if line.strip())
    present = set()
    for d, _, files in os.walk(os.path.join(root, folder)):
        for f in files:
            path = os.path.relpath(os.path.join(d, f), os.path.join(root, folder))
            if f.endswith(suffixes) and path not in skip:
                present.add(path)
    for p in sorted(present - listed):
        problems.append(f'{folder}/{p} is not in {folder}/CMakeLists.txt')
    for p in sorted(listed - present):
        problems.append(f'{folder}/CMakeLists.txt names {p}, which does not exist')
for p in problems:
    print('error:', p)
print('source lists:', 'complete' if not problems else f'{len(problems)} problem(s)')
sys.exit(1 if problems else 0)
