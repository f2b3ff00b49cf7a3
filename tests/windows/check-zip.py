#!/usr/bin/env python3
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

"""Makes the Windows ZIP with CPack and checks it as a user would find it: unpacked alone into a
fresh Wine prefix, nothing on any path, lctune.exe opens its window (client area, title, icon), a
spin click computes, and PRT prints the whole window at its true size through Wine's spooler to a
CUPS queue of this run's own (a cups-pdf queue on a private server, as tests/print does it).

Usage: check-zip.py <cpack> <build directory> <version> <source directory> [picture directory]
Needs DISPLAY (an X server without a window manager), wine, xdotool, xwininfo, xprop, xwd, unzip,
and for the page cupsd, the cups-pdf backend and pdftoppm, run as root; exit code 77 (skipped)
without an X server."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

TITLE = "The Resonance circuit calculation"
# Window pixels: the spin bar's upper arrow for the lower capacitance, the boxes it changes, PRT.
CAPACITANCE_UP = (419, 53)
LOWER_CAPACITANCE_BOX = (331, 48, 73, 25)
LOWER_FREQUENCY_BOX = (469, 48, 73, 25)
PRINT_BUTTON = (300, 150)


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, **kwargs).stdout


def png_pixels(path):
    """The RGB rows of an 8-bit PNG: indexed, grey, RGB or RGBA, not interlaced."""
    data = open(path, "rb").read()
    pos, idat, palette = 8, b"", []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, chunk = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, _, colour = struct.unpack(">IIBB", chunk[:10])
        elif kind == b"PLTE":
            palette = [tuple(chunk[i:i + 3]) for i in range(0, len(chunk), 3)]
        elif kind == b"IDAT":
            idat += chunk
    raw = zlib.decompress(idat)
    bpp = {0: 1, 2: 3, 3: 1, 6: 4}[colour]
    stride, rows, prev, at = width * bpp, [], bytearray(width * bpp), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b, c = prev[x], (prev[x - bpp] if x >= bpp else 0)
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        if colour == 3:
            rows.append([palette[i] for i in line])
        elif colour == 0:
            rows.append([(v, v, v) for v in line])
        else:
            rows.append([tuple(line[x * bpp:x * bpp + 3]) for x in range(width)])
        prev = line
    return rows


def ppm_pixels(path):
    """The RGB rows of a binary PPM, as pdftoppm writes it."""
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]


def window_pixels(window):
    """The window's client area as the X server shows it (xwd: 24 bit ZPixmap, 32 bit pixels)."""
    data = subprocess.run(["xwd", "-silent", "-id", window], check=True,
                          capture_output=True).stdout
    header = struct.unpack(">25I", data[:100])
    size, width, height, bytes_per_line, colours = (header[0], header[4], header[5], header[12],
                                                    header[19])
    order = header[7]
    pixels = data[size + 12 * colours:]
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            p = pixels[y * bytes_per_line + 4 * x:y * bytes_per_line + 4 * x + 4]
            (value,) = struct.unpack("<I" if order == 0 else ">I", p)
            row.append(((value >> 16) & 255, (value >> 8) & 255, value & 255))
        rows.append(row)
    return rows


def crop(rows, box):
    x, y, w, h = box
    return [row[x:x + w] for row in rows[y:y + h]]


def write_png(path, rows):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n"
                  + chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def wait_for(what, test, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = test()
        if found:
            return found
        time.sleep(0.2)
    fail(what)


class PrintServer:
    """A private cupsd whose default queue is cups-pdf writing into a directory of this run."""

    def __init__(self, work):
        self.work, self.process = work, None
        self.instance = "lctune-zip-%d" % os.getpid()
        self.conf = "/etc/cups/cups-pdf-%s.conf" % self.instance
        self.out = os.path.join(work, "out")
        self.socket = os.path.join(work, "socket")

    def start(self):
        w = self.work
        for d in ("etc", "log", "cache", "state", "spool/tmp", "out", "cups-pdf-spool"):
            os.makedirs(os.path.join(w, d), exist_ok=True)
        os.chmod(w, 0o755)
        shutil.chown(os.path.join(w, "spool"), group="lp")
        shutil.chown(os.path.join(w, "spool/tmp"), group="lp")
        os.chmod(os.path.join(w, "spool"), 0o710)
        os.chmod(os.path.join(w, "spool/tmp"), 0o1770)
        with open(os.path.join(w, "etc/cups-files.conf"), "w") as f:
            f.write("ServerRoot %s/etc\nRequestRoot %s/spool\nTempDir %s/spool/tmp\n"
                    "CacheDir %s/cache\nStateDir %s/state\nAccessLog %s/log/access_log\n"
                    "ErrorLog %s/log/error_log\nPageLog %s/log/page_log\nSystemGroup root\n"
                    "Printcap %s/printcap\n" % ((w,) * 9))
        with open(os.path.join(w, "etc/cupsd.conf"), "w") as f:
            f.write("Listen %s\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                    "</Policy>\n" % self.socket)
        with open(self.conf, "w") as f:
            f.write("Out %s\nAnonDirName %s\nSpool %s/cups-pdf-spool\nLog %s/log\nLabel 1\n"
                    "UserUMask 0022\nGrp root\n" % (self.out, self.out, w, w))
        self.process = subprocess.Popen(
            ["cupsd", "-f", "-c", w + "/etc/cupsd.conf", "-s", w + "/etc/cups-files.conf"])
        env = dict(os.environ, CUPS_SERVER=self.socket)
        wait_for("the CUPS server did not start", lambda: "is running" in subprocess.run(
            ["lpstat", "-r"], env=env, capture_output=True, text=True).stdout, 10)
        run("lpadmin", "-p", "lctune-pdf", "-v", "cups-pdf:/" + self.instance, "-P",
            "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "-E", env=env)
        run("lpadmin", "-d", "lctune-pdf", env=env)

    def stop(self):
        if self.process:
            self.process.terminate()
            self.process.wait()
        if os.path.exists(self.conf):
            os.remove(self.conf)


def check_contents(zip_path, version):
    names = set(run("unzip", "-Z1", zip_path).split())
    top = "lctune-%s-win64/" % version
    wanted = ["lctune.exe", "lctune-print.exe", "Qt6Core.dll", "Qt6Gui.dll", "Qt6Widgets.dll",
              "Qt6PrintSupport.dll", "platforms/qwindows.dll", "styles/qwindowsvistastyle.dll",
              "libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll", "LICENSE",
              "licenses/qt/LGPL-3.0-only.txt", "licenses/qt/qt-source.txt"]
    for name in wanted:
        if top + name not in names:
            fail("the ZIP holds no " + name)


def main():
    if len(sys.argv) < 5:
        fail(__doc__)
    cpack, build, version, source = sys.argv[1:5]
    pictures = sys.argv[5] if len(sys.argv) > 5 else None
    if not os.environ.get("DISPLAY"):
        print("skipped: no X server (DISPLAY)")
        sys.exit(77)
    # cupsd runs the cups-pdf backend, which only root may run, only when it is root itself.
    if os.geteuid() != 0:
        print("skipped: the cups-pdf backend needs a CUPS server started by root")
        sys.exit(77)
    run(cpack, "--config", os.path.join(build, "CPackConfig.cmake"), "-B", build)
    zip_path = os.path.join(build, "lctune-%s-win64.zip" % version)
    check_contents(zip_path, version)

    work = tempfile.mkdtemp(prefix="lctune-zip.")
    # The print filters run as the lp user and must reach the spool inside.
    os.chmod(work, 0o755)
    server = PrintServer(os.path.join(work, "cups"))
    env = {k: v for k, v in os.environ.items()
           if k not in ("WINEPATH", "QT_PLUGIN_PATH", "QT_QPA_PLATFORM", "CUPS_SERVER")}
    env.update(WINEPREFIX=os.path.join(work, "prefix"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", CUPS_SERVER=server.socket)
    program = None
    try:
        run("unzip", "-q", zip_path, "-d", os.path.join(work, "unpacked"))
        server.start()
        run("wineboot", "-i", env={k: v for k, v in env.items() if k != "CUPS_SERVER"})
        folder = os.path.join(work, "unpacked", "lctune-%s-win64" % version)
        program = subprocess.Popen(["wine", os.path.join(folder, "lctune.exe")], cwd=work,
                                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = wait_for("no window titled '%s' within a minute" % TITLE, lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^%s$" % TITLE],
            capture_output=True, text=True).stdout.split(), 60)[0]
        info = run("xwininfo", "-id", window)
        size = [line.split(":")[1].strip() for line in info.splitlines()
                if line.strip().startswith(("Width:", "Height:"))]
        if size != ["599", "185"]:
            fail("client area %s, not 599 x 185" % " x ".join(size))
        check_icon(window, source)

        time.sleep(1)
        before = window_pixels(window)
        click(window, CAPACITANCE_UP)
        after = wait_for("a spin click changed no box", lambda: changed(window, before), 10)
        print("spin click: the lower capacitance and the lower frequency changed")

        click(window, PRINT_BUTTON)
        pdf = wait_for("no page reached the CUPS queue within two minutes",
                       lambda: pdfs(server.out), 120)[0]
        pdf = os.path.join(server.out, pdf)
        # cups-pdf writes the file in place: it is whole once it stops growing.
        sizes = []
        wait_for("the page never stopped growing", lambda: sizes.append(os.path.getsize(pdf))
                 or (len(sizes) > 10 and sizes[-1] == sizes[-11] > 0), 60)
        if os.environ.get("LCTUNE_KEEP_PAGES"):
            shutil.copytree(server.out, os.environ["LCTUNE_KEEP_PAGES"], dirs_exist_ok=True)
        check_page(pdf, after, work, pictures)
        if pictures:
            write_png(os.path.join(pictures, "window-wine.png"), after)
    finally:
        if program:
            program.kill()
        subprocess.run(["wineserver", "-k"], env=env)
        server.stop()
        shutil.rmtree(work, ignore_errors=True)
    print("the ZIP runs alone and prints the window at its true size")


def pdfs(directory):
    return [f for f in os.listdir(directory) if f.endswith(".pdf")]


def click(window, at):
    run("xdotool", "mousemove", "--window", window, str(at[0]), str(at[1]))
    time.sleep(0.3)
    run("xdotool", "click", "1")


def changed(window, before):
    now = window_pixels(window)
    boxes = (LOWER_CAPACITANCE_BOX, LOWER_FREQUENCY_BOX)
    return now if all(crop(now, b) != crop(before, b) for b in boxes) else None


def check_icon(window, source):
    """The window's icon as the desktop gets it: the 32 x 32 icon file, pixel for pixel."""
    values = run("xprop", "-id", window, "-notype", "32c", "_NET_WM_ICON").split("=", 1)[1]
    numbers = [int(v) for v in values.replace(",", " ").split()]
    icons, at = {}, 0
    while at + 2 <= len(numbers):
        w, h = numbers[at], numbers[at + 1]
        icons[(w, h)] = numbers[at + 2:at + 2 + w * h]
        at += 2 + w * h
    if (32, 32) not in icons:
        fail("the window's icon has no 32 x 32 image, only %s" % sorted(icons))
    shown = [((v >> 16) & 255, (v >> 8) & 255, v & 255, v >> 24) for v in icons[(32, 32)]]
    file = png_pixels(os.path.join(source, "window", "icons", "hicolor", "32x32", "apps",
                                   "lctune.png"))
    if any(p[3] != 255 for p in shown):
        fail("the window's icon is not opaque")
    if [p[:3] for p in shown] != [p for row in file for p in row]:
        fail("the window's 32 x 32 icon is not the icon file")
    if len(set(shown)) > 16:
        fail("the window's icon has %d colours" % len(set(shown)))


def check_page(pdf, window, work, pictures):
    """At 96 dots to the inch the page holds the window pixel for pixel: 599 x 185, its top left
    10 mm in (or more, where the printer cannot print so near the edge), in its own colours."""
    base = os.path.join(work, "page")
    run("pdftoppm", "-r", "96", "-singlefile", pdf, base)
    page = ppm_pixels(base + ".ppm")
    if pictures:
        run("pdftoppm", "-r", "96", "-png", "-singlefile", pdf, os.path.join(pictures, "page-wine"))
    inked = [(x, y) for y, row in enumerate(page) for x, p in enumerate(row) if min(p) < 250]
    if not inked:
        fail("the page is blank")
    left, top = min(x for x, _ in inked), min(y for _, y in inked)
    right, bottom = max(x for x, _ in inked), max(y for _, y in inked)
    width, height = right - left + 1, bottom - top + 1
    print("page: the window at %d, %d, %d x %d (96 dpi)" % (left, top, width, height))
    if abs(width - 599) > 2 or abs(height - 185) > 2:
        fail("the window on the page is %d x %d, not 599 x 185" % (width, height))
    # 10 mm is 37.8 pixels at 96 dpi; a printer's own margin may add to it.
    if not 36 <= left <= 80 or not 36 <= top <= 80:
        fail("the window's top left is at %d, %d, not inside 10 mm margins" % (left, top))
    near = sum(1 for y in range(2, 183, 3) for x in range(2, 597, 3)
               if max(abs(a - b) for a, b in zip(page[top + y][left + x], window[y][x])) <= 48)
    total = len(range(2, 183, 3)) * len(range(2, 597, 3))
    if near < 0.9 * total:
        fail("only %d of %d pixels of the page are the window's colours" % (near, total))


if __name__ == "__main__":
    main()
