#!/usr/bin/env python3
"""Runs the skin gallery under Wine on the test display, drives it with xdotool,
takes screenshots of the whole screen and checks pixels that prove the window
region, the state pieces, the slider thumb's shape and the menu border.

The screenshots stay in --out for a person to look at.
"""

import argparse
import os
import subprocess
import sys
import time

IMPORT = "/usr/bin/import"
CONVERT = "/usr/bin/convert"


class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])


def read_png(path):
    size = subprocess.run([CONVERT, path, "-format", "%w %h", "info:"], check=True,
                          capture_output=True, text=True).stdout.split()
    raw = subprocess.run([CONVERT, path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return Image(int(size[0]), int(size[1]), raw)


def read_bmp(path):
    """24-bit bottom-up BMP, as the skin generator writes them."""
    with open(path, "rb") as f:
        data = f.read()
    offset = int.from_bytes(data[10:14], "little")
    w = int.from_bytes(data[18:22], "little", signed=True)
    h = int.from_bytes(data[22:26], "little", signed=True)
    stride = (w * 3 + 3) & ~3
    rgb = bytearray(w * abs(h) * 3)
    for y in range(abs(h)):
        row = offset + (abs(h) - 1 - y if h > 0 else y) * stride
        for x in range(w):
            b, g, r = data[row + x * 3:row + x * 3 + 3]
            i = (y * w + x) * 3
            rgb[i:i + 3] = bytes((r, g, b))
    return Image(w, abs(h), bytes(rgb))


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def shot(path):
    subprocess.run([IMPORT, "-window", "root", path], check=True)


def wait_for(path, word, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if os.path.exists(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                lines = [l.split() for l in f.read().splitlines() if l.strip()]
            if any(l[0] == word for l in lines):
                return lines
        time.sleep(0.1)
    return None


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--gallery", required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--wine-run", required=True)
    a = p.parse_args()
    os.makedirs(a.out, exist_ok=True)
    folder = os.path.dirname(os.path.abspath(a.gallery))
    skins = os.path.join(folder, "Skins")
    state = os.path.join(folder, "gallery-state.txt")
    quit_file = os.path.join(folder, "gallery-quit.txt")
    for f in (state, quit_file):
        if os.path.exists(f):
            os.remove(f)

    env = dict(os.environ, WINE_RUN_TIMEOUT="90")
    log = open(os.path.join(a.out, "gallery.log"), "w")
    proc = subprocess.Popen([a.wine_run, os.path.abspath(a.gallery)], cwd=folder, stdin=subprocess.DEVNULL, stdout=log,
                            stderr=subprocess.STDOUT, env=env)
    failures = []
    try:
        lines = wait_for(state, "ready", 60)
        if not lines:
            print("gallery did not come up")
            return 1
        wx, wy, ww, wh = [int(v) for v in next(l for l in lines if l[0] == "window")[1:5]]

        # Hover the second button, then photograph every state.
        xdo("mousemove", wx + 140 + 55, wy + 70 + 26)
        time.sleep(0.3)
        xdo("mousemove", wx + 140 + 60, wy + 70 + 25)
        time.sleep(0.8)
        states_png = os.path.join(a.out, "gallery-states.png")
        shot(states_png)

        # Open the effect menu from its button and hover its submenu opener.
        xdo("mousemove", wx + 300 + 60, wy + 120 + 15)
        time.sleep(0.3)
        xdo("click", 1)
        lines = wait_for(state, "menu", 10)
        if not lines:
            print("the menu did not open")
            return 1
        mx, my = [int(v) for v in next(l for l in lines if l[0] == "menu")[1:3]]
        time.sleep(0.5)
        xdo("mousemove", mx + 40, my + 20)
        time.sleep(0.3)
        xdo("mousemove", mx + 40, my + 78)
        time.sleep(1.5)
        menu_png = os.path.join(a.out, "gallery-menu.png")
        shot(menu_png)
        xdo("key", "Escape")
        time.sleep(0.2)
        xdo("key", "Escape")
        time.sleep(0.5)

        # The system may reuse the menu window: the second showing must get the border again.
        xdo("mousemove", wx + 300 + 62, wy + 120 + 14)
        time.sleep(0.3)
        xdo("click", 1)
        time.sleep(1.0)
        again_png = os.path.join(a.out, "gallery-menu-again.png")
        shot(again_png)
        xdo("key", "Escape")
    finally:
        open(quit_file, "w").close()
        try:
            proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
        log.close()

    screen = read_png(states_png)
    menu = read_png(menu_png)
    again = read_png(again_png)
    pictures = {name: read_bmp(os.path.join(skins, "gallery_%s.bmp" % name))
                for name in ("normal", "over", "down", "disabled")}
    thumb = read_bmp(os.path.join(skins, "arrow_below.bmp"))

    def check(ok, what):
        print(("ok   " if ok else "FAIL ") + what)
        if not ok:
            failures.append(what)

    def win(x, y, image=screen):
        return image.at(wx + x, wy + y)

    outside = screen.at(max(0, wx - 8), wy + 200)
    check(win(606, 306) == outside, "the mask's hole shows what is behind the window")
    check(win(636, 377) == outside, "the mask's notch is cut out of the window")
    check(win(0, 0) == outside, "the rounded corner is cut out of the window")
    check(win(300, 330) == pictures["normal"].at(300, 330), "the body shows the normal picture")

    pieces = [("Normal button", (20, 70), "normal"), ("hovered button", (140, 70), "over"),
              ("pressed button", (260, 70), "down"), ("checked button", (380, 70), "down"),
              ("disabled button", (500, 70), "disabled"), ("checked tab", (20, 116), "down"),
              ("checked key", (240 + 3 * 36, 190), "down"), ("disabled key", (240 + 5 * 36, 190), "disabled"),
              ("normal key", (240, 190), "normal")]
    for what, (x, y), picture in pieces:
        px, py = x + 8, y + 4
        got = win(px, py)
        check(got == pictures[picture].at(px, py) and
              (picture == "normal" or got != pictures["normal"].at(px, py)),
              "%s shows its %s piece %s" % (what, picture, got))

    # The red thumb sits at value 64 of 0..255 on a 232-pixel travel.
    tx = 240 + (232 - thumb.width) * (255 - 64) // 255
    centre = (thumb.width // 2, 3)
    check(win(tx + centre[0], 260 + centre[1]) == thumb.at(*centre), "the slider thumb is drawn")
    corner = win(tx, 260 + thumb.height - 1)
    check(corner != thumb.at(0, 0), "the thumb's key colour is cut out %s" % (corner,))

    check(menu.at(mx, my) == (230, 96, 1), "the menu border's outer frame is orange %s" % (menu.at(mx, my),))
    check(menu.at(mx + 1, my + 1) == (18, 18, 18) and menu.at(mx + 2, my + 2) == (18, 18, 18),
          "the menu border's inner frames are dark")
    check(menu.at(mx + 60, my + 12) == (18, 18, 18) or menu.at(mx + 60, my + 12) == (230, 96, 1),
          "menu items are drawn in the menu colours %s" % (menu.at(mx + 60, my + 12),))
    check(again.at(mx, my) == (230, 96, 1) and again.at(mx + 1, my + 1) == (18, 18, 18),
          "a second showing of the menu has the border again %s" % (again.at(mx, my),))
    if failures:
        print("%d checks failed; screenshots in %s" % (len(failures), a.out))
        return 1
    print("all checks passed; screenshots in %s" % a.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
