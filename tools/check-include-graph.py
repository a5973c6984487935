#!/usr/bin/env python3
"""Checks the include graph of the source tree: the engine includes no Qt and nothing of gui/, no header cycle
exists, and the folders gui/app, gui/pages, gui/widgets, gui/plots, gui/print and gui/options include each other
without a cycle. Prints what it finds; exits 1 on any violation.

    tools/check-include-graph.py [repository root]
"""
import os
import re
import sys

root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
include = re.compile(r'^\s*#\s*include\s+[<"]([^">]+)[">]')
files = {}
for folder in ('engine', 'gui', 'readers', 'batch', 'tools', 'bench'):
    for d, _, names in os.walk(os.path.join(root, folder)):
        for name in names:
            if name.endswith(('.h', '.cpp')):
                path = os.path.relpath(os.path.join(d, name), root)
                with open(os.path.join(d, name), errors='replace') as fh:
                    files[path] = [m.group(1) for line in fh for m in [include.match(line)] if m]

problems = []
for path, includes in files.items():
    if path.startswith('engine/'):
        for i in includes:
            if i.startswith('gui/') or re.match(r'Q[A-Z]|Qt', i):
                problems.append(f'{path} includes {i}: the engine is free of Qt and of the desktop program')


def folder(p):
    return '/'.join(p.split('/')[:2])


edges = {}
for path, includes in files.items():
    if path.startswith('gui/'):
        for i in includes:
            if i.startswith('gui/') and folder(i) != folder(path):
                edges.setdefault(folder(path), set()).add(folder(i))


def find_cycle(graph):
    state, stack = {}, []

    def visit(n):
        state[n] = 1
        stack.append(n)
        for m in sorted(graph.get(n, ())):
            if state.get(m) == 1:
                return stack[stack.index(m):] + [m]
            if m not in state:
                found = visit(m)
                if found:
                    return found
        stack.pop()
        state[n] = 2
        return None

    for n in sorted(graph):
        if n not in state:
            found = visit(n)
            if found:
                return found
    return None


cycle = find_cycle(edges)
if cycle:
    problems.append('gui folders include each other in a cycle: ' + ' -> '.join(cycle))
sys.setrecursionlimit(10000)
cycle = find_cycle({p: [i for i in incs if i in files] for p, incs in files.items()})
if cycle:
    problems.append('header cycle: ' + ' -> '.join(cycle))

for a in sorted(edges):
    print(a, '->', ', '.join(sorted(edges[a])))
for p in problems:
    print('error:', p)
print('include graph:', 'clean' if not problems else f'{len(problems)} problem(s)')
sys.exit(1 if problems else 0)
