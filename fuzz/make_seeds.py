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
