#!/usr/bin/env python3
"""Draws every skin picture of the configuration program and writes its skin files.

One layout table per window places every control; the same table draws the
pictures and writes the "BUTTONPOS" values, so a picture and its rectangles
cannot disagree. Pictures are SVG rendered by rsvg-convert and stored as 24-bit
BMP by ImageMagick, the formats the system picture decoder reads.

usage: generate.py --skins DIR --resources DIR --layout settings/factory_defaults.cpp
                   [--gallery DIR]
"""

import argparse
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile

CONVERT = "/usr/bin/convert"  # another convert may come first on PATH

# Palette (RGB). The programs' own colours are COLORREF 0x00BBGGRR values:
# 0x0160E6 accent, 0x3B8CE8 light orange captions, 0x4D79D4 panel labels.
ACCENT = "#E66001"
ACCENT_LIGHT = "#E88C3B"
ACCENT_DARK = "#7A3300"
BG = "#15171B"
BG_HEADER = "#1B1E23"
BG_RAISED = "#23272D"
CARD = "#191C20"
BG_HOVER = "#2D3239"
LINE = "#343A42"
LINE_SOFT = "#262A31"
TEXT = "#D9DDE3"
TEXT_DIM = "#7C838D"
FIELD = "#0E0F12"
FONT = "Liberation Sans, Arial, sans-serif"

STATES = ("Normal", "Over", "Down", "Disabled")


# ---------------------------------------------------------------- the keyboard

# usage -> legend. Two lines are written "upper\nlower".
LEGENDS = {
    0x29: "Esc", 0x3A: "F1", 0x3B: "F2", 0x3C: "F3", 0x3D: "F4", 0x3E: "F5", 0x3F: "F6",
    0x40: "F7", 0x41: "F8", 0x42: "F9", 0x43: "F10", 0x44: "F11", 0x45: "F12",
    0x46: "PrtSc", 0x47: "ScrLk", 0x48: "Pause",
    0x35: "~\n`", 0x1E: "!\n1", 0x1F: "@\n2", 0x20: "#\n3", 0x21: "$\n4", 0x22: "%\n5",
    0x23: "^\n6", 0x24: "&amp;\n7", 0x25: "*\n8", 0x26: "(\n9", 0x27: ")\n0", 0x2D: "_\n-",
    0x2E: "+\n=", 0x89: "\u00a5", 0x2A: "Bksp", 0x2B: "Tab",
    0x14: "Q", 0x1A: "W", 0x08: "E", 0x15: "R", 0x17: "T", 0x1C: "Y", 0x18: "U", 0x0C: "I",
    0x12: "O", 0x13: "P", 0x2F: "{\n[", 0x30: "}\n]", 0x31: "|\n\\", 0x39: "Caps Lock",
    0x04: "A", 0x16: "S", 0x07: "D", 0x09: "F", 0x0A: "G", 0x0B: "H", 0x0D: "J", 0x0E: "K",
    0x0F: "L", 0x33: ":\n;", 0x34: "\"\n'", 0x28: "Enter", 0xE1: "Shift", 0x64: "|\n\\",
    0x1D: "Z", 0x1B: "X", 0x06: "C", 0x19: "V", 0x05: "B", 0x11: "N", 0x10: "M",
    0x36: "&lt;\n,", 0x37: "&gt;\n.", 0x38: "?\n/", 0xE5: "Shift", 0xE0: "Ctrl", 0xE3: "Win",
    0xE2: "Alt", 0x2C: "", 0xE6: "Alt", 0xE7: "Win", 0x65: "Menu", 0xE4: "Ctrl",
    0x49: "Ins", 0x4A: "Home", 0x4B: "PgUp", 0x4C: "Del", 0x4D: "End", 0x4E: "PgDn",
    0x52: "\u2191", 0x50: "\u2190", 0x51: "\u2193", 0x4F: "\u2192",
    0x53: "Num", 0x54: "/", 0x55: "*", 0x56: "\u2212", 0x5F: "7", 0x60: "8", 0x61: "9",
    0x57: "+", 0x5C: "4", 0x5D: "5", 0x5E: "6", 0x59: "1", 0x5A: "2", 0x5B: "3",
    0x58: "Ent", 0x62: "0", 0x63: ".", 0x86: "=", 0x85: ",",
}

# (row, column, width, height, usage) in key units. Rows 1..5 sit half a unit
# below the function row. A full-size board with the ISO, JIS and keypad extras.
def keyboard_rows():
    keys = []
    row0 = [(0, 0x29)] + [(2 + i, 0x3A + i) for i in range(4)] + \
        [(6.5 + i, 0x3E + i) for i in range(4)] + [(11 + i, 0x42 + i) for i in range(4)] + \
        [(15.5, 0x46), (16.5, 0x47), (17.5, 0x48), (21, 0x86), (22, 0x85)]
    keys += [(0, c, 1, 1, u) for c, u in row0]
    r = 1.5
    top = [0x35, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x89, 0x2A]
    keys += [(r, i, 1, 1, u) for i, u in enumerate(top)]
    keys += [(r, 15.5, 1, 1, 0x49), (r, 16.5, 1, 1, 0x4A), (r, 17.5, 1, 1, 0x4B)]
    keys += [(r, 19 + i, 1, 1, u) for i, u in enumerate([0x53, 0x54, 0x55, 0x56])]
    r = 2.5
    keys.append((r, 0, 1.5, 1, 0x2B))
    keys += [(r, 1.5 + i, 1, 1, u) for i, u in
             enumerate([0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13, 0x2F, 0x30])]
    keys.append((r, 13.5, 1.5, 1, 0x31))
    keys += [(r, 15.5, 1, 1, 0x4C), (r, 16.5, 1, 1, 0x4D), (r, 17.5, 1, 1, 0x4E)]
    keys += [(r, 19, 1, 1, 0x5F), (r, 20, 1, 1, 0x60), (r, 21, 1, 1, 0x61), (r, 22, 1, 2, 0x57)]
    r = 3.5
    keys.append((r, 0, 1.75, 1, 0x39))
    keys += [(r, 1.75 + i, 1, 1, u) for i, u in
             enumerate([0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F, 0x33, 0x34])]
    keys.append((r, 12.75, 2.25, 1, 0x28))
    keys += [(r, 19, 1, 1, 0x5C), (r, 20, 1, 1, 0x5D), (r, 21, 1, 1, 0x5E)]
    r = 4.5
    keys += [(r, 0, 1.25, 1, 0xE1), (r, 1.25, 1, 1, 0x64)]
    keys += [(r, 2.25 + i, 1, 1, u) for i, u in
             enumerate([0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38])]
    keys.append((r, 12.25, 2.75, 1, 0xE5))
    keys.append((r, 16.5, 1, 1, 0x52))
    keys += [(r, 19, 1, 1, 0x59), (r, 20, 1, 1, 0x5A), (r, 21, 1, 1, 0x5B), (r, 22, 1, 2, 0x58)]
    r = 5.5
    keys += [(r, 0, 1.25, 1, 0xE0), (r, 1.25, 1.25, 1, 0xE3), (r, 2.5, 1.25, 1, 0xE2),
             (r, 3.75, 6.25, 1, 0x2C), (r, 10, 1.25, 1, 0xE6), (r, 11.25, 1.25, 1, 0xE7),
             (r, 12.5, 1.25, 1, 0x65), (r, 13.75, 1.25, 1, 0xE4)]
    keys += [(r, 15.5, 1, 1, 0x50), (r, 16.5, 1, 1, 0x51), (r, 17.5, 1, 1, 0x4F)]
    keys += [(r, 19, 2, 1, 0x62), (r, 21, 1, 1, 0x63)]
    return keys


def read_standard_layout(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"StandardLayout\[kKeyPositionCount\]\s*=\s*\{(.*?)\};", text, re.S)
    if not m:
        sys.exit("generate.py: StandardLayout not found in " + path)
    values = [int(v, 16) for v in re.findall(r"0x[0-9A-Fa-f]+", m.group(1))]
    if len(values) != 114:
        sys.exit("generate.py: StandardLayout has %d entries, not 114" % len(values))
    return values


def key_panel(layout):
    unit, x0, y0, gap = 32, 24, 28, 4
    by_usage = {}
    for row, col, w, h, usage in keyboard_rows():
        left = x0 + round(col * unit) + gap // 2
        top = y0 + round(row * unit) + gap // 2
        right = x0 + round((col + w) * unit) - gap // 2
        bottom = y0 + round((row + h) * unit) - gap // 2
        by_usage[usage] = (left, top, right - left, bottom - top)
    controls = []
    for i, usage in enumerate(layout):
        if usage == 0:
            controls.append(Control(str(40 + i), "none", (0, 0, 0, 0), label="none"))
            continue
        if usage not in by_usage:
            sys.exit("generate.py: no key cap for usage 0x%02X" % usage)
        controls.append(Control(str(40 + i), "key", by_usage[usage], text=LEGENDS[usage],
                                label="key%d" % i))
    plate = Decor(lambda s: plate_svg(x0 - 12, y0 - 14, 23 * unit + 24, 6.5 * unit + 26))
    return Window("skin_main.ini", "Key panel", 785, 267, controls, decor=[plate], mask="rect")


# ----------------------------------------------------------------- the windows

class Control:
    def __init__(self, key, kind, rect, text="", label=None):
        self.key, self.kind, self.rect, self.text = key, kind, rect, text
        self.label = label or kind


class Decor:
    """Background drawing that is the same in every state picture."""

    def __init__(self, draw):
        self.draw = draw


class Window:
    def __init__(self, ini, title, width, height, controls, decor=(), mask="rounded",
                 disabled_key="Disabled", prefix=None, header=0):
        self.ini, self.title, self.width, self.height = ini, title, width, height
        self.controls, self.decor, self.mask = controls, list(decor), mask
        self.disabled_key = disabled_key
        self.prefix = prefix or os.path.splitext(ini)[0].lower().replace("skin_", "")
        self.header = header


def esc(t):
    return t.replace("&", "&amp;") if "&amp;" not in t and "&lt;" not in t and "&gt;" not in t else t


def rrect(x, y, w, h, r, fill, stroke=None, sw=1, extra=""):
    s = '<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"' % (x, y, w, h, r, fill)
    if stroke:
        s += ' stroke="%s" stroke-width="%g"' % (stroke, sw)
    return s + extra + "/>"


def text_svg(x, y, t, size, fill, anchor="middle", weight="normal", extra=""):
    return ('<text x="%g" y="%g" font-family="%s" font-size="%g" font-weight="%s" fill="%s" '
            'text-anchor="%s"%s>%s</text>' % (x, y, FONT, size, weight, fill, anchor, extra, esc(t)))


def plate_svg(x, y, w, h):
    return (rrect(x + 2, y + 3, w, h, 10, "#050607") +
            '<rect x="%g" y="%g" width="%g" height="%g" rx="10" fill="url(#plate)" stroke="#2B3038"/>'
            % (x, y, w, h) +
            '<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="%s" stroke-width="2" opacity="0.7"/>'
            % (x + 14, y + h - 1, x + w - 14, y + h - 1, ACCENT))


def key_svg(c, state):
    x, y, w, h = c.rect
    face = {"Normal": "url(#keyface)", "Over": "url(#keyhover)", "Down": "url(#keydown)",
            "Disabled": "#1C1F23"}[state]
    edge = {"Normal": "#0B0C0E", "Over": ACCENT, "Down": "#FF8A2A", "Disabled": "#141619"}[state]
    legend = {"Normal": TEXT, "Over": "#FFFFFF", "Down": "#FFFFFF", "Disabled": "#4A4F56"}[state]
    out = [rrect(x, y, w, h, 4, "#0A0B0D" if state != "Down" else ACCENT_DARK),
           rrect(x + 1, y + 1, w - 2, h - 4, 3.5, face, edge, 1)]
    lines = c.text.split("\n")
    small = len(lines) == 2 or len(c.text) > 2
    size = 8.5 if small else 12
    if len(lines) == 2:
        out.append(text_svg(x + 7, y + 11, lines[0], 8.5, legend, "start"))
        out.append(text_svg(x + 7, y + h - 7, lines[1], 9, legend, "start"))
    elif c.text:
        if len(c.text) > 2:
            out.append(text_svg(x + 6, y + h - 9, c.text, size, legend, "start"))
        else:
            out.append(text_svg(x + w / 2, y + h / 2 + 2, c.text, size, legend, weight="bold"))
    return "".join(out)


def button_svg(c, state):
    x, y, w, h = c.rect
    k = c.kind
    if k in ("none", "label", "list", "edit"):
        return ""
    if k == "key":
        return key_svg(c, state)
    if k in ("close", "minimise"):
        fill = {"Normal": "none", "Over": "#C42B1C" if k == "close" else BG_HOVER,
                "Down": ACCENT, "Disabled": "none"}[state]
        ink = {"Normal": "#9AA1AB", "Over": "#FFFFFF", "Down": "#FFFFFF", "Disabled": "#474C53"}[state]
        out = rrect(x, y, w, h, 4, fill) if fill != "none" else ""
        cx, cy = x + w / 2, y + h / 2
        if k == "close":
            out += ('<path d="M%g %gL%g %gM%g %gL%g %g" stroke="%s" stroke-width="1.6" '
                    'stroke-linecap="round"/>' % (cx - 5, cy - 5, cx + 5, cy + 5, cx + 5, cy - 5,
                                                  cx - 5, cy + 5, ink))
        else:
            out += '<path d="M%g %gL%g %g" stroke="%s" stroke-width="1.6"/>' % (cx - 5, cy + 3, cx + 5,
                                                                                 cy + 3, ink)
        return out
    if k == "tab":
        fill = {"Normal": BG_RAISED, "Over": BG_HOVER, "Down": "url(#tabon)", "Disabled": "#1C1F23"}[state]
        bar = {"Normal": LINE, "Over": ACCENT_DARK, "Down": ACCENT, "Disabled": LINE_SOFT}[state]
        return (rrect(x, y, w, h, 5, fill) +
                '<rect x="%g" y="%g" width="%g" height="3" fill="%s"/>' % (x + 6, y + h - 3, w - 12, bar))
    if k == "switch":
        on = state == "Down"
        track = {"Normal": "#30353C", "Over": "#3A4048", "Down": ACCENT, "Disabled": "#22252A"}[state]
        knob = "#FFFFFF" if state != "Disabled" else "#4A4F56"
        r = h / 2
        kx = x + w - r if on else x + r
        return (rrect(x, y, w, h, r, track) +
                '<circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (kx, y + r, r - 3, knob))
    if k == "radio":
        fill = {"Normal": BG_RAISED, "Over": BG_HOVER, "Down": "#2E2116", "Disabled": "#1C1F23"}[state]
        stroke = {"Normal": LINE, "Over": ACCENT_LIGHT, "Down": ACCENT, "Disabled": LINE_SOFT}[state]
        cx, cy = x + 18, y + h / 2
        out = rrect(x + 0.5, y + 0.5, w - 1, h - 1, 5, fill, stroke)
        out += '<circle cx="%g" cy="%g" r="6.5" fill="%s" stroke="%s" stroke-width="1.5"/>' % (
            cx, cy, FIELD, stroke)
        if state == "Down":
            out += '<circle cx="%g" cy="%g" r="3.5" fill="%s"/>' % (cx, cy, ACCENT)
        return out
    if k == "browse":
        fill = {"Normal": BG_RAISED, "Over": BG_HOVER, "Down": ACCENT, "Disabled": "#1C1F23"}[state]
        ink = "#FFFFFF" if state != "Disabled" else "#4A4F56"
        dots = "".join('<circle cx="%g" cy="%g" r="1.6" fill="%s"/>' % (x + w / 2 + d, y + h / 2, ink)
                       for d in (-5, 0, 5))
        return rrect(x + 0.5, y + 0.5, w - 1, h - 1, 4, fill, LINE) + dots
    # push buttons: action, profile, dropdown, macro key
    if k == "profile":
        fill = {"Normal": BG_RAISED, "Over": BG_HOVER, "Down": "url(#accentfill)", "Disabled": "#1C1F23"}[state]
        stroke = {"Normal": LINE, "Over": "#4C535C", "Down": ACCENT, "Disabled": LINE_SOFT}[state]
    else:
        fill = {"Normal": BG_RAISED, "Over": BG_HOVER, "Down": "url(#downfill)", "Disabled": "#1B1D21"}[state]
        stroke = {"Normal": LINE, "Over": ACCENT, "Down": ACCENT, "Disabled": LINE_SOFT}[state]
    out = rrect(x + 0.5, y + 0.5, w - 1, h - 1, 5, fill, stroke)
    if k in ("action", "profile", "macro"):
        out += '<rect x="%g" y="%g" width="%g" height="1" fill="#FFFFFF" opacity="0.06"/>' % (
            x + 4, y + 1.5, w - 8)
    if k == "dropdown":
        ink = {"Normal": ACCENT_LIGHT, "Over": "#FFFFFF", "Down": "#FFFFFF", "Disabled": "#4A4F56"}[state]
        cx, cy = x + w - 14, y + h / 2
        out += ('<path d="M%g %gL%g %gL%g %g" fill="none" stroke="%s" stroke-width="1.6" '
                'stroke-linejoin="round"/>' % (cx - 4, cy - 2, cx, cy + 2, cx + 4, cy - 2, ink))
    if k == "macro":
        ink = {"Normal": ACCENT, "Over": ACCENT_LIGHT, "Down": "#FFFFFF", "Disabled": "#4A4F56"}[state]
        out += text_svg(x + 12, y + 16, c.text, 10, ink, "start", "bold")
        out += '<rect x="%g" y="%g" width="3" height="%g" rx="1.5" fill="%s"/>' % (x + 4, y + 6, h - 12, ink)
    return out


def field_svg(c):
    """Frames under controls that the program places over the picture (lists, edits)."""
    x, y, w, h = c.rect
    if c.kind in ("list", "edit"):
        return rrect(x - 2, y - 2, w + 4, h + 4, 3, FIELD, LINE)
    return ""


DEFS = """<defs>
<linearGradient id="bg" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#1A1D22"/><stop offset="1" stop-color="#111316"/></linearGradient>
<linearGradient id="plate" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#1C1F24"/><stop offset="1" stop-color="#131518"/></linearGradient>
<linearGradient id="keyface" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#30353D"/><stop offset="1" stop-color="#24282E"/></linearGradient>
<linearGradient id="keyhover" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#3A3229"/><stop offset="1" stop-color="#2A2520"/></linearGradient>
<linearGradient id="keydown" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#F07A1E"/><stop offset="1" stop-color="#C95200"/></linearGradient>
<linearGradient id="accentfill" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#F07A1E"/><stop offset="1" stop-color="#C24F00"/></linearGradient>
<linearGradient id="downfill" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#4A2608"/><stop offset="1" stop-color="#2E1805"/></linearGradient>
<linearGradient id="tabon" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#3A2A1C"/><stop offset="1" stop-color="#2A2119"/></linearGradient>
<linearGradient id="hue" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#FF0000"/><stop offset="0.1667" stop-color="#FFFF00"/><stop offset="0.3333" stop-color="#00FF00"/>
<stop offset="0.5" stop-color="#00FFFF"/><stop offset="0.6667" stop-color="#0000FF"/><stop offset="0.8333" stop-color="#FF00FF"/>
<stop offset="1" stop-color="#FF0000"/></linearGradient>
<linearGradient id="chR" x1="1" y1="0" x2="0" y2="0"><stop offset="0" stop-color="#000"/><stop offset="1" stop-color="#FF2A2A"/></linearGradient>
<linearGradient id="chG" x1="1" y1="0" x2="0" y2="0"><stop offset="0" stop-color="#000"/><stop offset="1" stop-color="#2AFF5A"/></linearGradient>
<linearGradient id="chB" x1="1" y1="0" x2="0" y2="0"><stop offset="0" stop-color="#000"/><stop offset="1" stop-color="#2A7BFF"/></linearGradient>
</defs>"""


def frame_svg(win):
    """Window body: background, border and, for dialogs, a header band."""
    w, h = win.width, win.height
    out = []
    if win.mask == "rounded":
        out.append(rrect(0, 0, w, h, 10, "url(#bg)"))
        out.append(rrect(0.5, 0.5, w - 1, h - 1, 10, "none", "#2E333A"))
    else:
        out.append('<rect width="%d" height="%d" fill="url(#bg)"/>' % (w, h))
    if win.header:
        out.append('<path d="M10 0H%g a10 10 0 0 1 10 10V%gH0V10a10 10 0 0 1 10 -10z" fill="%s"/>'
                   % (w - 10, win.header, BG_HEADER))
        out.append('<rect x="0" y="%g" width="%g" height="2" fill="%s"/>' % (win.header, w, ACCENT))
    return "".join(out)


def window_svg(win, state):
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">' % (win.width, win.height),
             DEFS, frame_svg(win)]
    parts += [d.draw(state) for d in win.decor]
    parts += [field_svg(c) for c in win.controls]
    parts += [button_svg(c, state) for c in win.controls]
    parts.append("</svg>")
    return "".join(parts)


def mask_svg(win):
    w, h = win.width, win.height
    shape = rrect(0, 0, w, h, 10, "#000") if win.mask == "rounded" else \
        '<rect width="%d" height="%d" fill="#000"/>' % (w, h)
    extra = win.mask_extra(win) if hasattr(win, "mask_extra") else ""
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" shape-rendering="crispEdges">'
            '<rect width="%d" height="%d" fill="#FFF"/>%s%s</svg>' % (w, h, w, h, shape, extra))


def logo(x, y):
    return ('<path d="M%g %gl10 -16h8l-10 16z" fill="%s"/><path d="M%g %gl10 -16h5l-10 16z" fill="%s"/>'
            % (x, y, ACCENT, x + 11, y, ACCENT_LIGHT) +
            text_svg(x + 32, y - 2, "ORSEL", 19, "#FFFFFF", "start", "bold", ' letter-spacing="3"') +
            text_svg(x + 110, y - 2, "RGB", 19, ACCENT, "start", "bold", ' letter-spacing="2"'))


def card(x, y, w, h):
    return rrect(x + 0.5, y + 0.5, w, h, 8, CARD, LINE_SOFT)


def section_title(x, y, w):
    return '<rect x="%g" y="%g" width="3" height="16" rx="1.5" fill="%s"/>' % (x, y, ACCENT) + \
        '<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="%s"/>' % (x + 10, y + 21.5, x + w, y + 21.5, LINE_SOFT)


def main_window():
    C = Control
    tabs = [C(str(i + 1), "tab", (20 + i * 132, 52, 124, 40)) for i in range(4)]
    profiles = [C(str(10 + i), "profile", (20 + i * 92, 378, 86, 30)) for i in range(4)]
    manage = [C(k, "action", (403 + i * 92, 378, 86, 30)) for i, k in enumerate(["6", "9", "7", "8"])]
    bottom = [C("15", "action", (261, 436, 120, 32)), C("25", "action", (387, 436, 120, 32)),
              C("21", "action", (513, 436, 80, 32)), C("20", "action", (599, 436, 80, 32)),
              C("22", "action", (685, 436, 80, 32))]
    caption = [C("16", "minimise", (717, 10, 28, 24)), C("17", "close", (749, 10, 28, 24))]
    decor = [Decor(lambda s: logo(22, 34)),
             Decor(lambda s: '<rect x="0" y="98" width="785" height="271" fill="#121417"/>'
                   '<line x1="0" y1="98.5" x2="785" y2="98.5" stroke="%s"/>'
                   '<line x1="0" y1="368.5" x2="785" y2="368.5" stroke="%s"/>' % (LINE, LINE)),
             Decor(lambda s: '<line x1="20" y1="423.5" x2="765" y2="423.5" stroke="%s"/>' % LINE_SOFT),
             Decor(lambda s: '<line x1="397.5" y1="382" x2="397.5" y2="404" stroke="%s"/>' % LINE)]
    return Window("skin_Config.ini", "Main window", 785, 480, tabs + profiles + manage + bottom + caption,
                  decor=decor, disabled_key="Disable", prefix="config")


def macro_panel():
    controls = [Control(str(4 + i), "macro", (38 + (i % 3) * 244, 70 + (i // 3) * 80, 220, 56),
                        text="G%d" % (i + 1)) for i in range(6)]
    decor = [Decor(lambda s: '<rect x="24" y="12" width="4" height="24" rx="2" fill="%s"/>' % ACCENT +
                   '<line x1="24" y1="50.5" x2="761" y2="50.5" stroke="%s"/>' % LINE_SOFT)]
    return Window("Skin_Macro_control.ini", "Macro panel", 785, 267, controls, decor=decor, mask="rect",
                  prefix="macro_control")


def advanced_panel():
    controls = [Control("1", "radio", (73, 130, 150, 36)), Control("0", "radio", (73, 176, 150, 36)),
                Control("20", "dropdown", (435, 130, 160, 36))]
    decor = [Decor(lambda s: card(48, 80, 330, 150) + card(410, 80, 330, 150) +
                   section_title(62, 96, 300) + section_title(424, 96, 300))]
    return Window("Skin_color_control.ini", "Advanced panel", 785, 267, controls, decor=decor,
                  mask="rect", prefix="color_control")


def lighting_panel():
    controls = [Control("0", "dropdown", (160, 38, 134, 28)), Control("1", "dropdown", (522, 38, 90, 28))]

    def draw(state):
        out = [rrect(100, 73, 170, 168, 3, FIELD, LINE),            # saturation-value square frame
               rrect(302, 64, 24, 188, 3, FIELD, LINE),
               '<rect x="309" y="66" width="10" height="184" rx="2" fill="url(#hue)"/>',
               rrect(346, 99, 335, 43, 3, FIELD, LINE),
               '<line x1="513.5" y1="101" x2="513.5" y2="140" stroke="%s"/>' % LINE]
        for y, grad in ((145, "chR"), (175, "chG"), (205, "chB")):
            # The thumb's arrow points down at the bar along the track's bottom.
            out.append('<rect x="407" y="%d" width="232" height="11" fill="%s"/>' % (y, CARD))
            out.append('<rect x="409" y="%d" width="220" height="3" rx="1.5" fill="url(#%s)"/>' % (y + 8, grad))
        for y, h in ((156, 17), (185, 16), (214, 17)):
            out.append(rrect(635, y - 1, 44, h + 2, 3, FIELD, LINE))
        return "".join(out)

    return Window("Skin_light_control.ini", "Lighting panel", 785, 267, controls,
                  decor=[Decor(lambda s: card(24, 20, 737, 237)), Decor(draw)],
                  mask="rect", prefix="light_control")


def profile_dialog():
    C = Control
    controls = [C("1", "edit", (24, 232, 330, 22)), C("2", "edit", (24, 262, 288, 22)),
                C("3", "browse", (320, 261, 34, 24)), C("4", "action", (250, 404, 90, 30)),
                C("5", "action", (348, 404, 90, 30)), C("6", "close", (416, 10, 26, 24))]
    decor = [Decor(lambda s: '<line x1="20" y1="392.5" x2="430" y2="392.5" stroke="%s"/>' % LINE_SOFT)]
    return Window("skin_Profile.ini", "Profile manager", 450, 446, controls, decor=decor, header=52,
                  prefix="profile")


def wait_dialog():
    def spinner(state):
        out = []
        for i in range(12):
            op = 0.15 + 0.85 * i / 11
            out.append('<rect x="150.5" y="126" width="4" height="11" rx="2" fill="%s" opacity="%.2f" '
                       'transform="rotate(%d 152.5 146)"/>' % (ACCENT, op, i * 30))
        return "".join(out)
    return Window("skin_wait.ini", "Waiting", 305, 180, [], decor=[Decor(spinner)], header=0, prefix="wait")


def warning_dialog():
    C = Control
    controls = [C("1", "action", (60, 118, 86, 30)), C("2", "action", (160, 118, 86, 30)),
                C("3", "close", (272, 6, 26, 22))]
    decor = [Decor(lambda s: '<path d="M152.5 39l10 18h-20z" fill="%s" stroke="%s" stroke-width="1.5" '
                   'stroke-linejoin="round"/>' % (ACCENT_DARK, ACCENT) +
                   '<path d="M152.5 45v6" stroke="#FFFFFF" stroke-width="1.8" stroke-linecap="round"/>'
                   '<circle cx="152.5" cy="54" r="1" fill="#FFFFFF"/>')]
    return Window("skin_reset_warn.ini", "Warning", 305, 164, controls, decor=decor, header=34,
                  prefix="reset_warn")


def key_assign_dialog():
    C = Control
    controls = [C("2", "action", (60, 182, 90, 30)), C("3", "action", (160, 182, 90, 30)),
                C("5", "action", (160, 134, 130, 24)), C("4", "close", (278, 4, 26, 22)),
                C("edit", "edit", (26, 136, 115, 15), label="keyedit")]
    win = Window("skin_swap_key.ini", "Key assignment", 310, 226, controls, header=64, prefix="swap_key")
    win.controls[-1].key = None  # the key edit is placed by the dialog itself
    return win


def macro_manager():
    C = Control
    controls = [C("3", "close", (358, 6, 26, 22)), C("6", "list", (14, 86, 126, 230)),
                C("11", "list", (148, 86, 130, 230)), C("4", "action", (286, 86, 90, 26)),
                C("5", "action", (286, 118, 90, 26)), C("7", "action", (286, 296, 90, 26)),
                C("12", "label", (14, 326, 150, 22)), C("8", "switch", (168, 327, 40, 20)),
                C("13", "label", (14, 354, 150, 22)), C("9", "switch", (168, 355, 40, 20)),
                C("14", "label", (214, 354, 54, 22)), C("1", "action", (196, 400, 86, 30)),
                C("2", "action", (290, 400, 86, 30)),
                C("repeat", "edit", (270, 357, 85, 15), label="repeat")]
    win = Window("skin_macro_manager.ini", "Macro manager", 390, 444, controls, header=60,
                 prefix="macro_manager")
    win.controls[-1].key = None
    return win


def gallery_window():
    """The test gallery: one control of each kind, shaped by a mask with a notch and a hole."""
    C = Control
    controls = [C("1", "action", (20, 70, 110, 32)), C("2", "action", (140, 70, 110, 32)),
                C("3", "action", (260, 70, 110, 32)), C("4", "action", (380, 70, 110, 32)),
                C("5", "action", (500, 70, 110, 32)), C("6", "tab", (20, 116, 124, 40)),
                C("7", "profile", (152, 120, 86, 30)), C("8", "switch", (250, 125, 40, 20)),
                C("9", "dropdown", (300, 120, 150, 30)), C("10", "radio", (460, 120, 150, 36)),
                C("11", "list", (20, 180, 200, 160)), C("12", "close", (596, 8, 26, 22)),
                C("13", "minimise", (566, 8, 26, 22))]
    keys = [C(str(20 + i), "key", (240 + i * 36, 190, 32, 32), text=t) for i, t in
            enumerate(["Esc", "Q", "W", "E", "R", "Ctrl"])]

    def draw(state):
        out = ['<rect x="240" y="260" width="232" height="11" fill="#15171B"/>',
               '<rect x="242" y="267" width="228" height="4" rx="2" fill="url(#chR)"/>',
               rrect(498, 178, 24, 188, 3, FIELD, LINE),
               '<rect x="505" y="180" width="10" height="184" rx="2" fill="url(#hue)"/>',
               logo(20, 40)]
        return "".join(out)

    win = Window("skin_gallery.ini", "Gallery", 640, 380, controls + keys, decor=[Decor(draw)], header=0,
                 prefix="gallery")
    # A notch at the top right and a hole in the body prove the window region.
    win.mask_extra = lambda w: ('<path d="M600 380 L640 340 L640 380 Z" fill="#FFF"/>'
                                '<rect x="600" y="300" width="12" height="12" fill="#FFF"/>')
    return win


# ------------------------------------------------------------ small pictures

def thumb_below_svg():
    # 11 x 11, magenta key colour in the corner: an orange arrow pointing down.
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="11" height="11" shape-rendering="crispEdges">'
            '<rect width="11" height="11" fill="#FF00FF"/>'
            '<path d="M1 0H10V5L5.5 10.5L1 5Z" fill="%s"/><path d="M2 1H9V4.5L5.5 8.5L2 4.5Z" fill="%s"/>'
            '</svg>' % ("#FFFFFF", ACCENT))


def thumb_left_svg():
    # 20 x 11: an arrow pointing left at the hue bar.
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="20" height="11" shape-rendering="crispEdges">'
            '<rect width="20" height="11" fill="#FF00FF"/>'
            '<path d="M0 5.5L6 0H20V11H6Z" fill="#FFFFFF"/><path d="M2 5.5L6.5 1.5H18.5V9.5H6.5Z" fill="%s"/>'
            '</svg>' % ACCENT)


def event_bitmap_svg(kind):
    body = {
        "down": '<path d="M8 2V11M4 8L8 12L12 8" stroke="%s" stroke-width="2.2" fill="none" '
                'stroke-linecap="round" stroke-linejoin="round"/>' % ACCENT,
        "up": '<path d="M8 14V5M4 8L8 4L12 8" stroke="%s" stroke-width="2.2" fill="none" '
              'stroke-linecap="round" stroke-linejoin="round"/>' % ACCENT,
        "clock": '<circle cx="8" cy="8" r="6" stroke="#D9DDE3" stroke-width="1.6" fill="none"/>'
                 '<path d="M8 4.5V8L10.5 9.5" stroke="%s" stroke-width="1.6" fill="none" '
                 'stroke-linecap="round"/>' % ACCENT,
        "mouse": '<rect x="4" y="2" width="8" height="12" rx="4" stroke="#D9DDE3" stroke-width="1.4" '
                 'fill="none"/><path d="M8 2V7M4 7H12" stroke="#D9DDE3" stroke-width="1.2"/>'
                 '<path d="M4.7 6.3V5a3.3 3.3 0 0 1 3.3 -3.3V6.3Z" fill="%s"/>' % ACCENT,
    }[kind]
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">'
            '<rect width="16" height="16" fill="#000"/>%s</svg>' % body)


def app_icon_svg(size):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 32 32">'
            '<rect x="1" y="1" width="30" height="30" rx="7" fill="#1B1E23" stroke="%s" stroke-width="1.5"/>'
            '<path d="M7 24L15 8H20L12 24Z" fill="%s"/><path d="M15 24L23 8H26L18 24Z" fill="%s"/>'
            '</svg>' % (size, size, ACCENT, ACCENT, ACCENT_LIGHT))


def arrow_icon_svg():
    # Drawn 19 pixels left of an item's right edge and 9 above its top: the arrow
    # sits in the middle of a 20-pixel item, near its right edge.
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32">'
            '<path d="M7 14.5L11 19L7 23.5" stroke="%s" stroke-width="2" fill="none" '
            'stroke-linecap="round" stroke-linejoin="round"/></svg>' % ACCENT_LIGHT)


# ------------------------------------------------------------------ output

def render(svg, out_path, tmp, bmp_type="BMP3"):
    base = os.path.join(tmp, os.path.basename(out_path))
    with open(base + ".svg", "w", encoding="utf-8") as f:
        f.write(svg)
    subprocess.run(["rsvg-convert", "-o", base + ".png", base + ".svg"], check=True)
    subprocess.run([CONVERT, base + ".png", "-background", "black", "-alpha", "remove",
                    "-type", "TrueColor", bmp_type + ":" + out_path], check=True)


def render_icon(svgs, out_path, tmp):
    pngs = []
    for i, svg in enumerate(svgs):
        base = os.path.join(tmp, "%s.%d" % (os.path.basename(out_path), i))
        with open(base + ".svg", "w", encoding="utf-8") as f:
            f.write(svg)
        subprocess.run(["rsvg-convert", "-o", base + ".png", base + ".svg"], check=True)
        pngs.append(base + ".png")
    subprocess.run([CONVERT] + pngs + [out_path], check=True)


def ini_text(win):
    lines = ["; Generated by skins/generate.py: edit the layout there, not here.", "[SCREEN]"]
    files = {"Mask": "%s_mask.bmp", "Normal": "%s_normal.bmp", "Down": "%s_down.bmp",
             "Over": "%s_over.bmp", win.disabled_key: "%s_disabled.bmp"}
    for key in ("Mask", "Normal", "Down", "Over", win.disabled_key):
        lines.append("%s=%s" % (key, files[key] % win.prefix))
    placed = [c for c in win.controls if c.key is not None]
    if placed:
        lines.append("[BUTTONPOS]")
        for c in sorted(placed, key=lambda c: int(c.key)):
            lines.append("%s=%s,%d,%d,%d,%d" % ((c.key, c.label) + tuple(c.rect)))
    return "\r\n".join(lines) + "\r\n"


def window_jobs(win, folder, tmp):
    with open(os.path.join(folder, win.ini), "w", encoding="ascii", newline="") as f:
        f.write(ini_text(win))
    jobs = [(mask_svg(win), os.path.join(folder, "%s_mask.bmp" % win.prefix))]
    for state in STATES:
        name = {"Normal": "normal", "Over": "over", "Down": "down", "Disabled": "disabled"}[state]
        jobs.append((window_svg(win, state), os.path.join(folder, "%s_%s.bmp" % (win.prefix, name))))
    return jobs


def write_resources(folder, tmp):
    jobs = [(event_bitmap_svg(k), os.path.join(folder, "event_%s.bmp" % k))
            for k in ("down", "up", "clock", "mouse")]
    render_icon([app_icon_svg(s) for s in (16, 32, 48)], os.path.join(folder, "app.ico"), tmp)
    render_icon([arrow_icon_svg()], os.path.join(folder, "submenu_arrow.ico"), tmp)
    rc = ["// Generated by skins/generate.py.", '#include "skin_art_ids.h"',
          'IDI_APP_ICON ICON "%s/app.ico"' % folder, 'IDI_SUBMENU_ARROW ICON "%s/submenu_arrow.ico"' % folder,
          'IDB_EVENT_KEY_DOWN BITMAP "%s/event_down.bmp"' % folder,
          'IDB_EVENT_KEY_UP BITMAP "%s/event_up.bmp"' % folder,
          'IDB_EVENT_DELAY BITMAP "%s/event_clock.bmp"' % folder,
          'IDB_EVENT_MOUSE BITMAP "%s/event_mouse.bmp"' % folder]
    with open(os.path.join(folder, "skin_art.rc"), "w", encoding="ascii") as f:
        f.write("\n".join(rc) + "\n")
    return jobs


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--skins", required=True)
    p.add_argument("--resources", required=True)
    p.add_argument("--layout", required=True)
    p.add_argument("--gallery")
    p.add_argument("--stamp")
    a = p.parse_args()
    for d in (a.skins, a.resources, a.gallery):
        if d:
            os.makedirs(d, exist_ok=True)
    layout = read_standard_layout(a.layout)
    windows = [main_window(), key_panel(layout), profile_dialog(), wait_dialog(), warning_dialog(),
               key_assign_dialog(), macro_manager(), macro_panel(), lighting_panel(), advanced_panel()]
    with tempfile.TemporaryDirectory() as tmp:
        jobs = []
        for win in windows:
            jobs += window_jobs(win, a.skins, tmp)
        targets = [a.skins] + ([a.gallery] if a.gallery else [])
        for folder in targets:
            jobs.append((thumb_below_svg(), os.path.join(folder, "arrow_below.bmp")))
            jobs.append((thumb_left_svg(), os.path.join(folder, "arrow_left.bmp")))
        if a.gallery:
            jobs += window_jobs(gallery_window(), a.gallery, tmp)
        jobs += write_resources(os.path.abspath(a.resources).replace("\\", "/"), tmp)
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            for f in [pool.submit(render, svg, path, tmp) for svg, path in jobs]:
                f.result()
    if a.stamp:
        with open(a.stamp, "w") as f:
            f.write("ok\n")


if __name__ == "__main__":
    main()
