#!/usr/bin/python3
"""Walks the program's accessibility tree over AT-SPI as a screen reader does: opens
the set list through the menu, reads the tree's rows, starts a set, reads the question
and the answer tiles, chooses an answer, checks it and finds the verdict, then answers
the rest of the run by press actions and reads the summary and the review of mistakes.
Every wait is bounded; the first failure ends the script with a message."""
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 20.0


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait_for(what, find, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            found = find()
        except Exception:  # objects vanish while windows change
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and "ludra" in (app.name or "").lower():
            return app
    return None


def find_all(app, roles, name_start="", visible_only=True):
    return [n for n in walk(app) if n.getRoleName() in roles and (n.name or "").startswith(name_start)
            and (not visible_only or showing(n))]


def find_one(app, roles, name_start=""):
    found = find_all(app, roles, name_start)
    return found[0] if found else None


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    for wanted in ("press", "click"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    fail("no press action on %r (actions %s)" % (node.name, names))


def click_centre(node, clicks=1):
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "--repeat",
                    str(clicks), "--delay", "100", "1"], check=True, timeout=10)


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


BUTTONS = ("push button",)
TILES = ("radio button", "check box")
# Qt's bridge gives tree items the role of a table cell.
TREE_ROWS = ("tree item", "table cell")


def main():
    app = wait_for("the program on the accessibility bus", application)
    print("application:", app.name)
    main_window = wait_for("the main window", lambda: find_one(app, ("window", "frame"), "Orvel - Ludra"))
    print("main window:", main_window.getRoleName(), main_window.name)

    press(wait_for("the tests menu", lambda: find_one(app, BUTTONS, "Testy")))
    press(wait_for("the set list entry", lambda: find_one(app, ("menu item",), "Chcę wybrać z listy")))
    wait_for("the set list window", lambda: find_one(app, ("dialog",), "Lista zestawów"))
    tree = wait_for("the set tree", lambda: find_one(app, ("tree",)))
    rows = wait_for("the tree's rows", lambda: find_all(tree, TREE_ROWS, visible_only=False))
    first = rows[0]
    print("rows:", [row.name for row in rows])
    if not first.name.endswith(", kategoria, poziom 1, zwinięta"):
        fail("the first row reads %r" % first.name)
    if not first.getState().contains(pyatspi.STATE_SELECTED):
        fail("the first row is not selected")
    if not first.getState().contains(pyatspi.STATE_COLLAPSED):
        fail("the closed category is not collapsed")

    click_centre(first, clicks=2)
    opened = wait_for("the category to open",
                      lambda: [r for r in find_all(tree, TREE_ROWS, visible_only=False) if "rozwinięta" in r.name])
    print("opened:", opened[0].name)
    child = wait_for("a set under it",
                     lambda: [r for r in find_all(tree, TREE_ROWS) if ", zestaw, poziom 2" in r.name])[0]
    click_centre(child)
    wait_for("the set to be selected", lambda: child.getState().contains(pyatspi.STATE_SELECTED))
    press(wait_for("the confirm button", lambda: find_one(app, BUTTONS, "Wprowadź")))

    tiles = wait_for("the answer tiles", lambda: find_all(app, TILES, "Odpowiedź "))
    question = wait_for("the question", lambda: [n for n in find_all(app, ("label",))
                                                 if n.description == "Treść pytania" and n.name])[0]
    print("question:", question.name)
    for tile in tiles:
        print("tile:", tile.getRoleName(), tile.name, "checked" if checked(tile) else "")
    if [t.name[len("Odpowiedź "):][:1] for t in tiles] != list("ABCDE"[:len(tiles)]):
        fail("the tiles are not lettered in order")
    if any(checked(t) for t in tiles):
        fail("a tile starts checked")

    press(tiles[0])
    wait_for("tile A to be chosen", lambda: checked(tiles[0]) and tiles[0].name.endswith(", zaznaczona"))
    print("chosen:", tiles[0].name)
    press(wait_for("the check button", lambda: find_one(app, BUTTONS, "Sprawdź")))

    verdict = wait_for("the verdict", lambda: [n for n in find_all(app, ("alert",)) if n.name][0])
    print("verdict:", verdict.name)
    if not (verdict.name == "Dobrze!" or verdict.name.startswith("Źle. Poprawn")):
        fail("the verdict reads %r" % verdict.name)
    after = find_all(app, TILES, "Odpowiedź ")
    for tile in after:
        print("after the check:", tile.name)
    if not any(t.name.endswith(", poprawna") for t in after):
        fail("no tile tells the right answer")
    if not any(n.getRoleName() == "status bar" and n.name for n in walk(app)):
        fail("no status line")
    finish_the_run(app, main_window, {question.name: right_answers(after)})
    print("PASS")


STATES = (", zaznaczona", ", poprawna", ", błędna")


def answer_text(tile):
    """The answer's text in a tile's name "Odpowiedź B: text, zaznaczona, poprawna"."""
    name = tile.name.split(": ", 1)[1] if ": " in tile.name else ""
    while name.endswith(STATES):
        name = name[:name.rindex(", ")]
    return name


def right_answers(tiles):
    return {answer_text(t) for t in tiles if t.name.endswith(", poprawna")}


def verdict_in(main_window):
    return [n for n in find_all(main_window, ("alert",)) if n.name]


def summary(app):
    return find_one(app, ("dialog",), "Podsumowanie")


def finish_the_run(app, main_window, known):
    """Answers every question by press actions alone, the right answers once a verdict
    has named them, until the summary comes; then reads it and the review of mistakes."""
    for _ in range(80):
        if summary(app):
            break
        press(wait_for("the next question button", lambda: find_one(main_window, BUTTONS, "Następne pytanie")))
        check = wait_for("the check button", lambda: find_one(main_window, BUTTONS, "Sprawdź"))
        wait_for("the verdict to clear", lambda: not verdict_in(main_window))
        question = wait_for("the question", lambda: [n for n in find_all(main_window, ("label",))
                                                     if n.description == "Treść pytania" and n.name])[0]
        tiles = wait_for("the answer tiles", lambda: find_all(main_window, TILES, "Odpowiedź "))
        right = known.get(question.name) or {answer_text(tiles[0])}
        for tile in tiles:
            if answer_text(tile) in right:
                press(tile)
                wait_for("the tile to be chosen", lambda: checked(tile))
        press(check)
        wait_for("the verdict or the summary", lambda: verdict_in(main_window) or summary(app))
        if not summary(app):
            known[question.name] = right_answers(find_all(main_window, TILES, "Odpowiedź "))
    window = wait_for("the summary", lambda: summary(app))
    report = wait_for("the summary's text", lambda: [n for n in find_all(window, ("label",))
                                                     if "Pytań w zestawie:" in n.name])[0]
    print("summary:", report.name.replace("\n", " | "))
    press(wait_for("the review link", lambda: find_one(window, BUTTONS, "Przejrzyj błędy")))
    review = wait_for("the review window", lambda: find_one(app, ("dialog",), "Przegląd błędów"))
    text = wait_for("the review's text", lambda: [t for t in map(text_of, walk(review)) if t])[0]
    print("review:", text.splitlines()[0])


def text_of(node):
    """The text a text object holds; nothing for an object without the text interface."""
    try:
        return node.queryText().getText(0, -1) if node.getRoleName() == "text" else ""
    except NotImplementedError:
        return ""


if __name__ == "__main__":
    main()
