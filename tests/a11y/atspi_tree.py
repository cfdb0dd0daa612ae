#!/usr/bin/env python3
"""Lists what a screen reader finds over AT-SPI in the board, a duty picker, the three editors
and the two settings dialogs, and fails on any control without a name, named like a control's
object name (Command2, Text1, VScroll1), or named without a Japanese word. The program runs on
a copy of the sample roster and is driven by keys alone (xdotool)."""
import os, re, shutil, subprocess, sys, tempfile, time

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi

program, source = sys.argv[1], sys.argv[2]
# Roles a person operates or reads; plain panels and fillers are layout.
CHECKED = {"push button", "toggle button", "text", "entry", "password text", "list", "list item",
           "scroll bar", "menu item", "menu", "menu bar", "label", "page tab", "check box",
           "radio button", "combo box", "spin button", "slider", "frame", "dialog", "window"}
OBJECT_NAME = re.compile(r"^[A-Za-z]+[0-9_]*$")
JAPANESE = re.compile(r"[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]")
problems = []


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)
    time.sleep(0.8)


def walk(node, depth, out):
    try:
        role, name = node.get_role_name(), node.get_name() or ""
        showing = node.get_state_set().contains(Atspi.StateType.SHOWING)
    except Exception:
        return
    out.append((depth, role, name, showing))
    for i in range(min(node.get_child_count(), 400)):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, depth + 1, out)


def application(pid, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.3)
    sys.exit("the program did not appear on the accessibility bus")


def check(app, view, must_have):
    """Lists the showing tree of every window of the program; returns the names seen."""
    time.sleep(0.5)
    nodes = []
    walk(app, 0, nodes)
    print(f"== {view}")
    names = []
    for depth, role, name, showing in nodes:
        if not showing and depth > 0:
            continue
        print(f"{'  ' * depth}{role}: {name}")
        names.append(name)
        if role not in CHECKED:
            continue
        if not name.strip():
            problems.append(f"{view}: a {role} without a name")
        elif OBJECT_NAME.match(name) or not JAPANESE.search(name):
            problems.append(f"{view}: a {role} named {name!r}")
    for wanted in must_have:
        if not any(re.search(wanted, n) for n in names):
            problems.append(f"{view}: nothing named like {wanted!r}")
    return names


work = tempfile.mkdtemp()
for f in os.listdir(os.path.join(source, "sample")):
    shutil.copy(os.path.join(source, "sample", f), work)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
           LANG="C.UTF-8", QT_FONT_DPI="96")
proc = subprocess.Popen([program], cwd=work, env=env)
try:
    app = application(proc.pid)
    time.sleep(1.5)
    win = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(proc.pid)],
                         capture_output=True, text=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowactivate", "--sync", win])
    time.sleep(0.5)
    check(app, "board", [r"^ゼルトミル$", r"^緑色当番$", r".+（.+）$"])
    key("Home", "g")
    greens = [l.strip() for l in open(os.path.join(work, "zelto1.dat"), encoding="cp932")][1:]
    check(app, "green picker", [r"^緑色当番の一覧$"] + ["^" + re.escape(g) + "$" for g in greens if g])
    key("Escape")
    for keys, view, wanted in [("ctrl+n", "name editor", r"^名前の編集$"),
                               ("ctrl+g", "green duty editor", r"^緑色当番の編集$"),
                               ("ctrl+y", "yellow duty editor", r"^黄色当番の編集$"),
                               ("ctrl+o", "options dialog", r"^名前札の高さの増減$"),
                               ("ctrl+p", "data folder dialog", r"^データ保存先のパス$")]:
        key(keys)
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(proc.pid)],
                       capture_output=True)
        check(app, view, [wanted, r"^戻る$"])
        key("Escape")  # back to the board, as 戻る
        check(app, "board after " + view, [r"^当番表$"])
finally:
    proc.terminate()
    try:
        proc.wait(5)
    except subprocess.TimeoutExpired:
        proc.kill()
    shutil.rmtree(work, ignore_errors=True)

print("\n".join(problems) if problems else "every control is named")
sys.exit(1 if problems else 0)
