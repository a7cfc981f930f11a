#!/usr/bin/env python3
"""Writes the fuzz seeds that are not fixture files as they stand: the EXIF payloads (APP1
segments) of the orientation fixtures, and task files with folder listings.

Run from the repository root: python3 fuzz/make_seeds.py"""
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
seeds = root / "fuzz" / "seeds"


def app1_segments(jpeg):
    at = 2
    while at + 4 <= len(jpeg) and jpeg[at] == 0xFF:
        marker = jpeg[at + 1]
        length = struct.unpack(">H", jpeg[at + 2:at + 4])[0]
        if marker == 0xE1:
            yield jpeg[at + 4:at + 2 + length]
        if marker == 0xDA:
            return
        at += 2 + length


for picture in sorted((root / "tests" / "fixtures" / "image").glob("orientation*.jpg")):
    for k, payload in enumerate(app1_segments(picture.read_bytes())):
        (seeds / "exif" / f"{picture.stem}_{k}.bin").write_bytes(payload)


def task_file(position, names, marks, crlf=True):
    lines = ["[批截位置]", f"批截位置={position}", "[最大位置]", f"最大位置={len(names)}"]
    for k, (name, mark) in enumerate(zip(names, marks), start=1):
        lines += [f"[{k}]", f"操作记录={mark}", f"图片名={name}"]
    ending = "\r\n" if crlf else "\n"
    return (ending.join(lines) + ending).encode("gb18030")


def listing(names):
    return b"\0" + "\n".join(names).encode("utf-8")


names = ["张三.jpg", "李四.JPG", "王五.png", "赵六.gif", "学号007.bmp"]
(seeds / "taskfile" / "resumed.ini").write_bytes(
    task_file(2, names[:3], ["已截图", "未截图", "未截图"]) + listing(names))
(seeds / "taskfile" / "at_end.ini").write_bytes(
    task_file(3, names[:3], ["已截图"] * 3, crlf=False) + listing(names[:3] + ["新来的.jpeg"]))
(seeds / "taskfile" / "holes.ini").write_bytes(
    "[批截位置]\r\n批截位置=7\r\n[最大位置]\r\n最大位置=2147483647\r\n[7]\r\n图片名=../x.jpg\r\n"
    .encode("gb18030") + listing(["x.jpg", "noext", ".hidden.PNG"]))


# The parts of the .xlsx fixtures, in the order fuzz_xlsx_parts.cpp zips them.
import zipfile
xlsx_parts = ["_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
              "xl/sharedStrings.xml", "xl/styles.xml", "xl/worksheets/sheet1.xml",
              "xl/worksheets/sheet2.xml"]
(seeds / "xlsx_parts").mkdir(exist_ok=True)
for name in ["roster_lo", "roster_sheetjs", "roster_gnumeric", "crafted"]:
    archive = zipfile.ZipFile(root / "tests" / "fixtures" / "roster" / f"{name}.xlsx")
    present = set(archive.namelist())
    parts = [archive.read(p) if p in present else b"" for p in xlsx_parts]
    (seeds / "xlsx_parts" / f"{name}.parts").write_bytes(b"\0".join(parts))


# Framed head-and-shoulders pictures with their face, in the layout fuzz_background.cpp reads.
def background_seed(width, height, colour, found, points, pixels):
    def step(fraction):
        return struct.pack("b", max(-128, min(127, round((fraction - 0.5) * 32))))
    header = bytes([width - 16, height - 16]) + bytes(colour) + bytes([found])
    return header + b"".join(step(f) for f in points) + pixels


def drawn_portrait(width, height, wall):
    out = bytearray()
    for y in range(height):
        for x in range(width):
            dx, dy = (x - 0.5 * width) / (0.22 * width), (y - 0.42 * height) / (0.28 * height)
            if dx * dx + dy * dy <= 1:
                out += bytes((40, 30, 25) if y < 0.3 * height else (225, 180, 150))
            elif y > 0.75 * height - 0.3 * abs(x - 0.5 * width):
                out += bytes((40, 70, 140))
            else:
                out += bytes(wall)
    return bytes(out)


# Box left, top, right, bottom; left eye x, eyes' y, right eye x; chin x, y; cheeks' x, y, x.
face = [0.3, 0.25, 0.7, 0.68, 0.4, 0.42, 0.6, 0.5, 0.68, 0.3, 0.5, 0.7]
(seeds / "background").mkdir(exist_ok=True)
(seeds / "background" / "plain_wall.bin").write_bytes(
    background_seed(80, 100, (255, 0, 0), 3, face, drawn_portrait(80, 100, (200, 200, 205))))
(seeds / "background" / "dark_wall_eyes_only.bin").write_bytes(
    background_seed(60, 76, (67, 142, 219), 1, face, drawn_portrait(60, 76, (50, 55, 60))))
(seeds / "background" / "grey_box_only.bin").write_bytes(
    background_seed(40, 50, (255, 255, 255), 0, face, b""))
(seeds / "background" / "face_beyond.bin").write_bytes(
    background_seed(80, 100, (255, 0, 0), 7, [-2, -2, 4, 4] + face[4:],
                    drawn_portrait(80, 100, (200, 200, 205))))
