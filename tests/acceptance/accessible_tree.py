# The accessible tree of Kalidor's window as a screen reader reads it over
# AT-SPI, for accessible_window.sh. Run with Debian's own /usr/bin/python3,
# whose pyatspi the package python3-pyatspi provides.
#   accessible_tree.py read FILE          reads the tree into FILE, one line a node
#   accessible_tree.py check FILE NAME... each named control is shown, inside the window
#                                         (NAME, or ROLE=NAME)
#   accessible_tree.py centre FILE SCALE NAME  the control's middle in device pixels
# A line: indent, role, "name", [description], x,y wxh (logical pixels on the
# screen), shown or hidden, and checked where it is.
import re
import sys
import time

LINE = re.compile(r'^( *)(.+?) "(.*)" \[(.*)\] (-?\d+),(-?\d+) (\d+)x(\d+) (shown|hidden)( checked)?$')


def read(path):
    import pyatspi
    lines = []

    def walk(node, depth):
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        states = node.getState()
        lines.append('%s%s "%s" [%s] %d,%d %dx%d %s%s' % ('  ' * depth, node.getRoleName(), node.name,
                                                         node.description, box.x, box.y, box.width, box.height,
                                                         'shown' if states.contains(pyatspi.STATE_SHOWING) else 'hidden',
                                                         ' checked' if states.contains(pyatspi.STATE_CHECKED) else ''))
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                walk(child, depth + 1)

    # The application registers with the accessibility bus as it starts.
    for _ in range(50):
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
        app = next((a for a in apps if a is not None and a.name == 'kalidor'), None)
        if app is not None and app.childCount > 0:
            break
        time.sleep(0.2)
    else:
        print('FAIL: no application "kalidor" on the accessibility bus')
        return 1
    for i in range(app.childCount):
        walk(app.getChildAtIndex(i), 0)
    with open(path, 'w') as out:
        out.write('\n'.join(lines) + '\n')
    return 0


def nodes(path):
    found = []
    with open(path) as tree:
        for line in tree:
            m = LINE.match(line.rstrip('\n'))
            if m:
                indent, role, name, description, x, y, w, h, shown, _ = m.groups()
                found.append({'depth': len(indent) // 2, 'role': role, 'name': name, 'description': description,
                              'box': (int(x), int(y), int(w), int(h)), 'shown': shown == 'shown'})
    return found


def find(found, name):
    # "role=name" where a name is not enough (the N slider beside its label);
    # else the shown one first, as hidden frames hold the other modes' controls.
    role, _, name = name.rpartition('=')
    named = [n for n in found if n['name'] == name and (not role or n['role'] == role)]
    return next((n for n in named if n['shown']), named[0] if named else None)


def check(path, names):
    found = nodes(path)
    window = next((n for n in found if n['depth'] == 0), None)
    if window is None:
        print('FAIL: no window in the tree')
        return 1
    wx, wy, ww, wh = window['box']
    failures = 0
    for name in names:
        node = find(found, name)
        if node is None:
            print('FAIL: no control named "%s"' % name)
            failures += 1
            continue
        x, y, w, h = node['box']
        inside = node['shown'] and w > 0 and h > 0 and x >= wx and y >= wy and x + w <= wx + ww and y + h <= wy + wh
        print('%s: %s "%s" [%s] at %d,%d %dx%d, %s the window at %d,%d %dx%d' % (
            'ok' if inside else 'FAIL', node['role'], name, node['description'], x, y, w, h,
            'inside' if inside else 'NOT shown inside', wx, wy, ww, wh))
        failures += 0 if inside else 1
    return failures


def centre(path, scale, name):
    node = find(nodes(path), name)
    if node is None:
        return 1
    x, y, w, h = node['box']
    print('%d %d' % (round((x + w / 2) * scale), round((y + h / 2) * scale)))
    return 0


if __name__ == '__main__':
    command, path = sys.argv[1], sys.argv[2]
    if command == 'read':
        sys.exit(read(path))
    if command == 'check':
        sys.exit(min(check(path, sys.argv[3:]), 100))
    if command == 'centre':
        sys.exit(centre(path, float(sys.argv[3]), sys.argv[4]))
    sys.exit(2)
