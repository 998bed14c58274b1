"""Where everything on a slide goes, and the ImageMagick command lines that draw it.

A slide is drawn once as a base picture; each of its items then gets a copy of the base with
that item marked, which costs no text rendering (the expensive part with a CJK font).
"""
import math

WIDTH, HEIGHT = 640, 480
BAND = 72                 # height of the title band
AREA_TOP, AREA_BOTTOM = 92, 420
MARGIN = 20
MAX_ROW = 210             # a single row of cards stays card-shaped

BG = "#FFFDF6"
BAND_BG = "#1F4E79"
INK = "#1E1E1E"
MARK = "#1F4E79"
JP = "#B0271B"
SOFT = "#4A4A4A"
LIGHT_RULE = "#C9D3DD"
HILITE = "#E67E22"
HILITE_FILL = "rgba(230,126,34,0.16)"


def im_text(text):
    """Text for -annotate: ImageMagick expands % and \\ escapes and reads @file."""
    text = text.replace("\\", "\\\\").replace("%", "%%")
    return "\\" + text if text.startswith("@") else text


class Canvas:
    """Collects drawing operations into one convert command line."""

    def __init__(self, fonts, background=BG):
        self.fonts = fonts
        self.ops = ["-size", f"{WIDTH}x{HEIGHT}", f"xc:{background}"]

    def rect(self, x0, y0, x1, y1, fill, radius=0, stroke=None, width=0):
        shape = f"roundrectangle {x0},{y0} {x1},{y1} {radius},{radius}" if radius else \
            f"rectangle {x0},{y0} {x1},{y1}"
        self.ops += ["-fill", fill, "-stroke", stroke or "none", "-strokewidth", str(width),
                     "-draw", shape]

    def line(self, points, color, width):
        path = " ".join(f"{x:.1f},{y:.1f}" for x, y in points)
        self.ops += ["-fill", "none", "-stroke", color, "-strokewidth", str(width),
                     "-draw", f"polyline {path}"]

    def text(self, text, x, y, size, color, bold=False, anchor="center"):
        """anchor "center": (x, y) is the middle of the text's top edge; "left": its left end."""
        gravity = "North" if anchor == "center" else "NorthWest"
        dx = x - WIDTH // 2 if anchor == "center" else x
        self.ops += ["-stroke", "none", "-font", self.fonts["bold" if bold else "regular"],
                     "-pointsize", str(size), "-fill", color, "-gravity", gravity,
                     "-annotate", f"{dx:+d}{y:+d}", im_text(text), "-gravity", "NorthWest"]

    def command(self, out_path):
        return ["convert", *self.ops, "-depth", "8", f"PNG24:{out_path}"]


def grid_boxes(count, cols):
    """Cell rectangles (x0, y0, x1, y1) of `count` items laid out in `cols` columns."""
    rows = math.ceil(count / cols)
    w = (WIDTH - 2 * MARGIN) / cols
    h = min((AREA_BOTTOM - AREA_TOP) / rows, MAX_ROW)
    top = AREA_TOP + ((AREA_BOTTOM - AREA_TOP) - rows * h) / 2
    boxes = []
    for i in range(count):
        r, c = divmod(i, cols)
        # a short last row is centred
        in_row = min(cols, count - r * cols)
        left = MARGIN + (cols - in_row) * w / 2
        boxes.append((round(left + c * w + 4), round(top + r * h + 4),
                      round(left + (c + 1) * w - 4), round(top + (r + 1) * h - 4)))
    return boxes


def list_boxes(count):
    h = (AREA_BOTTOM - AREA_TOP) / count
    return [(MARGIN + 30, round(AREA_TOP + i * h + 3), WIDTH - MARGIN - 30,
             round(AREA_TOP + (i + 1) * h - 3)) for i in range(count)]


def item_boxes(slide):
    kind = slide["kind"]
    if kind in ("grid", "tones"):
        return grid_boxes(len(slide["items"]), slide["cols"])
    if kind == "list":
        return list_boxes(len(slide["items"]))
    return []


def _band(canvas, title):
    canvas.rect(0, 0, WIDTH, BAND, BAND_BG)
    canvas.text(title, 28, 12, 34, "white", bold=True, anchor="left")


def _note(canvas, slide):
    if slide.get("note"):
        canvas.rect(MARGIN, AREA_BOTTOM + 10, WIDTH - MARGIN, AREA_BOTTOM + 11, LIGHT_RULE)
        canvas.text(slide["note"], WIDTH // 2, AREA_BOTTOM + 20, 20, SOFT)


def _title_slide(canvas, slide):
    canvas.rect(0, 0, WIDTH, HEIGHT, BAND_BG)
    canvas.rect(60, 250, WIDTH - 60, 253, "#FFE08A")
    canvas.text(slide["title"], WIDTH // 2, 130, 60, "white", bold=True)
    canvas.text(slide["subtitle"], WIDTH // 2, 275, 28, "#FFE08A")
    canvas.text(slide["footer"], WIDTH // 2, 390, 24, "#DDE6F0")
    if slide.get("credit"):
        canvas.text(slide["credit"], WIDTH // 2, 446, 15, "#AFC3D8")


TEXT_STYLES = {"text": (24, INK, False), "key": (30, MARK, True), "jp": (30, JP, False)}


def _text_slide(canvas, slide):
    _band(canvas, slide["title"])
    step = (AREA_BOTTOM + 40 - AREA_TOP) / len(slide["lines"])
    for i, (line, style) in enumerate(slide["lines"]):
        size, color, bold = TEXT_STYLES[style]
        canvas.text(line, 40, round(AREA_TOP + 8 + i * step), size, color, bold, anchor="left")


def _grid_slide(canvas, slide):
    _band(canvas, slide["title"])
    for item, (x0, y0, x1, y1) in zip(slide["items"], item_boxes(slide)):
        cx, h = (x0 + x1) // 2, y1 - y0
        canvas.rect(x0, y0, x1, y1, "white", radius=10, stroke=LIGHT_RULE, width=1)
        canvas.text(item["mark"], cx, y0 + round(h * 0.04), 38, MARK, bold=True)
        canvas.text(item["char"], cx, y0 + round(h * 0.34), 44, INK)
        canvas.text(item["jp"], cx, y0 + round(h * 0.70), 26, JP)


def _contour(canvas, digits, x0, y0, x1, y1):
    """Chao tone letters: a pitch scale 1 (low) to 5 (high) and the tone's path over it."""
    canvas.line([(x1, y0), (x1, y1)], SOFT, 2)
    for level in range(1, 6):
        y = y1 - (level - 1) * (y1 - y0) / 4
        canvas.line([(x1 - 4, y), (x1, y)], SOFT, 1)
    levels = [int(d) for d in digits]
    if len(levels) == 1:          # an entering tone is short: half the width
        levels, x0 = levels * 2, (x0 + x1) / 2
    points = [(x0 + i * (x1 - 8 - x0) / (len(levels) - 1), y1 - (v - 1) * (y1 - y0) / 4)
              for i, v in enumerate(levels)]
    canvas.line(points, MARK, 5)


def _tones_slide(canvas, slide):
    _band(canvas, slide["title"])
    for item, (x0, y0, x1, y1) in zip(slide["items"], item_boxes(slide)):
        h = y1 - y0
        canvas.rect(x0, y0, x1, y1, "white", radius=10, stroke=LIGHT_RULE, width=1)
        badge_w = 14 * len(item["mark"]) + 18
        canvas.rect(x0 + 8, y0 + 8, x0 + 8 + badge_w, y0 + 40, MARK, radius=6)
        canvas.text(item["mark"], x0 + 8 + badge_w // 2, y0 + 9, 22, "white", bold=True)
        left_cx = x0 + round((x1 - x0) * 0.36)
        canvas.text(item["char"], left_cx, y0 + round(h * 0.22), 48, INK)
        canvas.text(item["jp"], left_cx, y0 + round(h * 0.58), 28, JP)
        _contour(canvas, item["contour"], x1 - 74, y0 + round(h * 0.26), x1 - 14,
                 y0 + round(h * 0.70))
        canvas.text(f'{item["label"]} {item["contour"]}', (x0 + x1) // 2,
                    y0 + round(h * 0.78), 20, SOFT)


def _list_slide(canvas, slide):
    _band(canvas, slide["title"])
    for item, (x0, y0, x1, y1) in zip(slide["items"], item_boxes(slide)):
        top = (y0 + y1) // 2 - 27
        canvas.text(item["char"], x0 + 30, top, 38, INK, anchor="left")
        canvas.text(item["jp"], x0 + 220, top + 6, 30, JP, anchor="left")
        canvas.rect(x0, y1, x1, y1 + 1, LIGHT_RULE)


DRAW = {"title": _title_slide, "text": _text_slide, "grid": _grid_slide,
        "tones": _tones_slide, "list": _list_slide}


def base_command(slide, fonts, out_path):
    canvas = Canvas(fonts)
    DRAW[slide["kind"]](canvas, slide)
    if slide["kind"] != "title":
        _note(canvas, slide)
    return canvas.command(out_path)


def highlight_command(base_path, box, out_path):
    x0, y0, x1, y1 = box
    return ["convert", base_path, "-fill", HILITE_FILL, "-stroke", HILITE, "-strokewidth", "4",
            "-draw", f"roundrectangle {x0 - 2},{y0 - 2} {x1 + 2},{y1 + 2} 12,12",
            "-depth", "8", f"PNG24:{out_path}"]
