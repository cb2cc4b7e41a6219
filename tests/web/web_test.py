#!/usr/bin/env python3
"""The exported web page in a real browser (headless Chromium).

Each check writes a page with `qorv-cli export-html`, loads it in test mode (a scripted drag whose
results the page writes into itself) and reads the page back with --dump-dom:

  drag       the positions after dragging point A of the triangle example equal those of
             `qorv-cli dump --move` with the same move (1e-9), and A's dependants followed;
  undefined  in the intersections example, shrinking the circle about O makes the line's
             crossings with it undefined (not drawn), and they come back when it grows again;
  picture    the page's first frame against `qorv-cli render` of the same document;
  elements   the same for a construction of every kind the desktop draws (tests/web/elements.qrv,
             the editor's demonstration construction: tables, a button, a picture, axes with their
             labels and a grid), and again with polar coordinates (elements-polar.qrv);
  hostile    documents the other commands refuse are refused by export-html the same way, and
             no page is written.

Usage: web_test.py CHECK --cli QORV_CLI --source SOURCE_DIR --work WORK_DIR
Exits 77 (skipped) when the web module or Chromium is missing, unless QORV_WEB_REQUIRED=1.
"""
import argparse
import base64
import html
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

SKIP = 77
WIDTH, HEIGHT = 960, 660  # the browser window (the page's canvas is what the window shows)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def skip(message):
    if os.environ.get("QORV_WEB_REQUIRED") == "1":
        fail(message + " (QORV_WEB_REQUIRED=1)")
    print("SKIPPED: " + message)
    sys.exit(SKIP)


def chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


def run(args, check=True):
    r = subprocess.run(args, capture_output=True, text=True, timeout=300)
    if check and r.returncode != 0:
        fail("%s exited %d: %s" % (" ".join(args), r.returncode, r.stderr.strip()))
    return r


def export(cli, document, page):
    r = run([cli, "export-html", document, page], check=False)
    if r.returncode != 0 and "build-web" in r.stderr:
        skip("the web module is not built (bash scripts/build-web.sh): " + r.stderr.strip())
    if r.returncode != 0:
        fail("export-html %s: %s" % (document, r.stderr.strip()))
    return page


def load(page, work, fragment="", extra=(), size=(WIDTH, HEIGHT)):
    """The page's DOM after load, and what the test mode wrote into it."""
    browser = chromium()
    if not browser:
        skip("Chromium is not installed (scripts/install-deps.sh installs it)")
    profile = tempfile.mkdtemp(prefix="chromium-", dir=work)
    try:
        r = run([browser, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                 "--force-device-scale-factor=1", "--user-data-dir=" + profile,
                 "--window-size=%d,%d" % size, *extra, "--dump-dom",
                 "file://" + os.path.abspath(page) + fragment])
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    m = re.search(r'<pre id="result">(.*?)</pre>', r.stdout, re.S)
    if not m or not m.group(1).strip():
        fail("the page wrote no result; browser said: " + r.stderr.strip()[-2000:])
    return json.loads(html.unescape(m.group(1)))


def dump(cli, document, move=None):
    """The dump after dragging element move[0] through the pointer positions move[1]."""
    args = [cli, "dump", document]
    if move:
        args += ["--move", str(move[0])] + [repr(v) for p in move[1] for v in p]
    return {e["id"]: e for e in json.loads(run(args).stdout)["elements"]}


def element_named(elements, name):
    for e in elements.values():
        if e["kind"] == 10 and e["text"] == name:  # a name label names its first parent
            return elements[e["parents"][0]]
    fail("no element is named " + name)


def compare_values(page, cli_elements, what):
    """Every element's defined flag and numbers, page against the command line, within 1e-9."""
    worst = 0.0
    for e in page:
        c = cli_elements.get(int(e["id"]))
        if c is None:
            fail("%s: element %d is not in the dump" % (what, e["id"]))
        if e["defined"] != c["defined"]:
            fail("%s: element %d defined %s in the page, %s in the dump"
                 % (what, e["id"], e["defined"], c["defined"]))
        for k in range(4):
            a, b = e["value"][k], c["value"][k]
            if b is None or a is None:
                continue  # not a finite number on either side
            worst = max(worst, abs(a - b))
            if abs(a - b) > 1e-9:
                fail("%s: element %d value[%d] is %r in the page, %r in the dump"
                     % (what, e["id"], k, a, b))
    return worst


# ---- PNG reading (8-bit RGB or RGBA, as both programs write) -------------------------------------

def read_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("not a PNG picture")
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour not in (2, 6):
                fail("unexpected PNG format %d/%d" % (depth, colour))
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    at = 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def ink(rows, background):
    """Pixels that differ clearly from the background: what was drawn."""
    return {(x, y) for y, row in enumerate(rows) for x, p in enumerate(row)
            if sum(abs(p[k] - background[k]) for k in range(3)) > 90}


def near(points, other, reach):
    """The share of `points` that have a pixel of `other` within `reach` pixels."""
    if not points:
        return 1.0
    hits = 0
    for (x, y) in points:
        if any((x + dx, y + dy) in other
               for dx in range(-reach, reach + 1) for dy in range(-reach, reach + 1)):
            hits += 1
    return hits / len(points)


# ---- the checks ----------------------------------------------------------------------------------

def check_drag(cli, source, work):
    document = os.path.join(source, "examples", "triangle.qrv")
    page = export(cli, document, os.path.join(work, "triangle.html"))
    size = os.path.getsize(page)
    print("page size: %d bytes" % size)
    if size > 1.5 * 1024 * 1024:
        fail("the triangle page is %d bytes, more than 1.5 MB" % size)
    before = dump(cli, document)
    a = element_named(before, "A")
    target = (a["value"][0] + 70, a["value"][1] - 45)
    result = load(page, work, "#test=%d,%r,%r,25,0" % (a["id"], target[0], target[1]))
    if result.get("refused"):
        fail("the page refused the document")
    compare_values(result["before"], before, "before the drag")
    moved = {int(e["id"]): e for e in result["after"]}
    a_after = moved[a["id"]]["value"]
    if abs(a_after[0] - target[0]) > 1e-9 or abs(a_after[1] - target[1]) > 1e-9:
        fail("A went to %r, not to the pointer %r" % (a_after[:2], target))
    after = dump(cli, document, (a["id"], result["path"]))
    worst = compare_values(result["after"], after, "after the drag")
    # The dependants followed: the circumcentre and incentre moved, as did the measures.
    followed = [e for e in before.values() if e["id"] != a["id"] and e["defined"] and
                any(x is not None and y is not None and abs(x - y) > 1e-6
                    for x, y in zip(e["value"], moved[e["id"]]["value"]))]
    for name in ("O", "I"):
        if element_named(before, name)["id"] not in {e["id"] for e in followed}:
            fail("%s did not follow A" % name)
    print("drag: %d elements match the dump (largest difference %.3g); %d followed A"
          % (len(result["after"]), worst, len(followed)))
    steps = result.get("dragStepMs", {})
    print("first frame %.1f ms after load began; drag step median %.2f ms, max %.2f ms"
          % (result["firstFrameMs"], steps.get("median", -1), steps.get("max", -1)))


def check_undefined(cli, source, work):
    document = os.path.join(source, "examples", "intersections.qrv")
    page = export(cli, document, os.path.join(work, "intersections.html"))
    before = dump(cli, document)
    # The point on the circle about O, dragged close to O: the circle shrinks away from the line.
    rim = [e for e in before.values() if e["method"] == 0 and e["value"][:2] == [60, 20]]
    if len(rim) != 1:
        fail("the example has no single point at (60, 20)")
    centre = rim[0]
    target = (-40.0, 20.0)
    far = dump(cli, document, (centre["id"], [target]))
    # Intersection points that the move makes undefined: the line's crossings with the circle.
    lost = sorted(i for i, e in before.items() if e["defined"] and not far[i]["defined"])
    if not lost:
        fail("shrinking the circle makes nothing undefined: the check would prove nothing")
    result = load(page, work, "#test=%d,%r,%r,30,1" % (centre["id"], target[0], target[1]))
    at_target = result["atTarget"]
    compare_values(at_target["values"], dump(cli, document, (centre["id"], at_target["path"])),
                   "with the circle shrunk")
    drawn = set(int(i) for i in at_target["drawn"])
    if drawn & set(lost):
        fail("undefined elements %s are still drawn" % sorted(drawn & set(lost)))
    gone = [set(step) for step in result["undefinedAlongPath"]]
    if not any(set(lost) <= g for g in gone):
        fail("the crossings never became undefined during the drag")
    end = {int(e["id"]): e for e in result["after"]}
    back = [i for i in lost if end[i]["defined"]]
    if back != lost:
        fail("the crossings %s did not come back" % sorted(set(lost) - set(back)))
    if not set(lost) <= set(int(i) for i in result["drawnAfter"]):
        fail("the crossings came back but are not drawn")
    compare_values(result["after"], dump(cli, document, (centre["id"], result["path"])),
                   "after the point came back")
    print("undefined: %s vanished and came back" % lost)


def check_picture(cli, source, work):
    compare_picture(cli, os.path.join(source, "examples", "triangle.qrv"), work, "picture")


def check_elements(cli, source, work):
    for name in ("elements", "elements-polar"):
        compare_picture(cli, os.path.join(source, "tests", "web", name + ".qrv"), work, name,
                        size=(960, 800))


def compare_picture(cli, document, work, name, size=(WIDTH, HEIGHT)):
    """The page's first frame (once its pictures are decoded) against the render."""
    page = export(cli, document, os.path.join(work, name + ".html"))
    # Virtual time lets the browser decode the pictures before the page is read back.
    result = load(page, work, "#test=-1,0,0,0,0", ("--virtual-time-budget=10000",), size)
    url = result["picture"]
    if not url.startswith("data:image/png;base64,"):
        fail("the canvas gave no PNG")
    pw, ph, page_rows = read_png(base64.b64decode(url.split(",", 1)[1]))
    with open(os.path.join(work, name + "-page.png"), "wb") as f:
        f.write(base64.b64decode(url.split(",", 1)[1]))
    rendered = os.path.join(work, name + "-render.png")
    run([cli, "render", document, rendered, "--width", str(pw), "--height", str(ph)])
    with open(rendered, "rb") as f:
        rw, rh, render_rows = read_png(f.read())
    if (pw, ph) != (rw, rh) or pw < 400 or ph < 300:
        fail("sizes differ: page %dx%d, render %dx%d" % (pw, ph, rw, rh))
    background = render_rows[0][0]
    if page_rows[0][0] != background:
        fail("background %r in the page, %r in the render" % (page_rows[0][0], background))
    a, b = ink(page_rows, background), ink(render_rows, background)
    # Lines, circles and points: every drawn pixel of one has a drawn pixel of the other within
    # 2 pixels (antialiasing moves edges by one). Texts come from other fonts, so a little of the
    # ink is allowed to differ.
    page_in_render, render_in_page = near(a, b, 2), near(b, a, 2)
    print("%s: %d / %d drawn pixels; page in render %.4f, render in page %.4f"
          % (name, len(a), len(b), page_in_render, render_in_page))
    if min(page_in_render, render_in_page) < 0.95:
        fail("the page and the render differ in what they draw where")
    if not 0.6 < len(a) / max(1, len(b)) < 1.6:
        fail("the page draws %d pixels, the render %d" % (len(a), len(b)))
    # And place by place, so that one element missing or misplaced cannot hide in the whole:
    # in every tile of 24 x 24 pixels where either draws, most of what one draws is near what
    # the other draws (texts of other fonts and widths stay above 0.85).
    tile = 24
    cells = {}
    for which, points in ((0, a), (1, b)):
        for (x, y) in points:
            cells.setdefault((x // tile, y // tile), ([], []))[which].append((x, y))
    for (tx, ty), (pa, pb) in sorted(cells.items()):
        if len(pa) + len(pb) < 3:
            continue
        score = min(near(pa, b, 2), near(pb, a, 2))
        if score < 0.8:
            fail("%s: around (%d, %d) the page draws %d pixels, the render %d, and they "
                 "do not meet (%.2f)" % (name, tx * tile, ty * tile, len(pa), len(pb), score))


def check_hostile(cli, source, work):
    samples = {
        "empty": b"",
        "truncated": open(os.path.join(source, "examples", "triangle.qrv"), "rb").read()[:150],
        "random": bytes((i * 7919 + 13) % 256 for i in range(4000)),
        "newer": struct.pack("<i", 901) + b"\0" * 64,
    }
    for name, data in samples.items():
        path = os.path.join(work, "hostile-%s.qrv" % name)
        with open(path, "wb") as f:
            f.write(data)
        out = os.path.join(work, "hostile-%s.html" % name)
        if os.path.exists(out):
            os.remove(out)
        reference = run([cli, "info", path], check=False)
        r = run([cli, "export-html", path, out], check=False)
        if reference.returncode == 0:
            fail("info accepted the hostile %s document" % name)
        if (r.returncode, r.stderr) != (reference.returncode, reference.stderr):
            fail("export-html answered %d %r to the %s document, info %d %r" % (
                r.returncode, r.stderr, name, reference.returncode, reference.stderr))
        if os.path.exists(out):
            fail("a page was written for the %s document" % name)
    missing = os.path.join(work, "no-such-file.qrv")
    if run([cli, "export-html", missing, os.path.join(work, "x.html")], check=False).returncode == 0:
        fail("a missing file was exported")
    print("hostile: %d documents refused as info refuses them" % len(samples))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("check", choices=["drag", "undefined", "picture", "elements", "hostile"])
    p.add_argument("--cli", required=True)
    p.add_argument("--source", required=True)
    p.add_argument("--work", required=True)
    o = p.parse_args()
    os.makedirs(o.work, exist_ok=True)
    {"drag": check_drag, "undefined": check_undefined, "picture": check_picture,
     "elements": check_elements, "hostile": check_hostile}[o.check](o.cli, o.source, o.work)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
