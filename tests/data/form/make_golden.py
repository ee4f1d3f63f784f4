#!/usr/bin/env python3
"""Writes the golden report forms (.frf) and wizard templates (.frt) byte by byte
from the format description, independently of the engine's writer.

Run from this folder: python3 make_golden.py. The generated files are committed;
the tests read them and compare what the engine makes of them.
"""
import struct

GBK = "gbk"
A4 = (9, 2100, 2970)
CREATE_DATE = 46000.25      # 2025-12-09 06:00
CHANGE_DATE = 46001.5


def u8(v):
    return struct.pack("<B", v & 0xFF)


def u16(v):
    return struct.pack("<H", v & 0xFFFF)


def i32(v):
    return struct.pack("<i", v)


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def f64(v):
    return struct.pack("<d", v)


class Writer:
    """String forms chosen by the form version, as the readers choose them."""

    def __init__(self, version):
        self.v = version
        self.b = bytearray()

    def pos(self):
        return len(self.b)

    def raw(self, data):
        self.b += data

    def new_str(self, text):
        data = text.encode(GBK)
        self.b += u16(len(data)) + data + b"\0"

    def new_list(self, lines):
        self.b += u16(len(lines))
        if not lines:
            self.b += b"\0"
            return
        for k, line in enumerate(lines):
            data = line.encode(GBK)
            self.b += u16(len(data)) + data
            self.b += b"\r" if k < len(lines) - 1 else b"\0"

    def str(self, text):
        if self.v < 23:
            self.b += text.encode(GBK) + b"\0"
        else:
            self.new_str(text)

    def memo(self, lines):
        if self.v < 23:
            self.b += "\r".join(lines).encode(GBK) + b"\0"
        else:
            self.new_list(lines)


def frame_width(w):
    return int(w) if float(w).is_integer() else round(w * 1000)


def common(w, name, rect, flags, frametyp=0, fw=1.0, fcolor=0, fstyle=0,
           fill=0x1FFFFFFF, fmt=0x22E, fmtstr="", memo=(), script=(),
           visible=True, restr=0, tag="", gaps=(2, 1), subver=0, align=0):
    v = w.v
    if v >= 23:
        w.str(name)
    if v > 23:
        w.raw(u8(2) + u8(subver))
    w.raw(b"".join(i32(x) for x in rect))
    w.raw(u16(flags) + u16(frametyp) + i32(frame_width(fw)) + u32(fcolor)
          + u16(fstyle) + u32(fill))
    w.raw(u32(fmt))
    w.str(fmtstr)
    w.memo(list(memo))
    if v >= 23:
        w.memo(list(script))
        w.raw(u16(0xFFFF if visible else 0))
    if v >= 24:
        w.raw(u16(restr))
        w.str(tag)
        w.raw(i32(gaps[0]) + i32(gaps[1]))
        w.raw(u8(align))


def memo_data(w, font=("Arial", 10, 0, 0), alignment=0, charset=134,
              hl=(2, 0, 0xFFFFFF), hlcond="", spacing=(2, 0)):
    w.str(font[0])
    w.raw(i32(font[1]) + u16(font[2]) + u32(font[3]) + u32(alignment) + u16(charset))
    w.raw(u16(hl[0]) + u32(hl[1]) + u32(hl[2]))
    w.str(hlcond)
    if w.v >= 24:
        w.raw(i32(spacing[0]) + i32(spacing[1]))


def band_data(w, child="", cols=(1, 200, 20, 1), master=""):
    if w.v > 23:
        w.new_str(child)
        w.raw(b"".join(i32(x) for x in cols))
        w.new_str(master)


def bmp_1x1():
    """A 1x1 24-bit bitmap file image (blue pixel)."""
    pixels = bytes([255, 0, 0, 0])  # BGR plus row padding to 4 bytes
    info = struct.pack("<IiiHHIIiiII", 40, 1, 1, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    size = 14 + len(info) + len(pixels)
    return b"BM" + struct.pack("<IHHI", size, 0, 0, 14 + len(info)) + info + pixels


def picture_data(w, kind=0, blob=0, graphic=b""):
    w.raw(u8(kind))
    if w.v > 23:
        w.raw(u8(blob))
    end_at = w.pos()
    w.raw(u32(0))
    w.raw(graphic)
    w.b[end_at:end_at + 4] = u32(w.pos())


def page_record(w, name="Page1", paper=A4, margins=(0, 0, 0, 0), orient=0,
                bin_=65535, prevpage=0, usemargins=0xFFFF, cols=1, gap=0,
                ptype=0, border=3, caption="Form", color=0xFF00000F,
                bounds=(220, 120, 380, 300), position=4, script=None):
    v = w.v
    if script is not None:
        w.raw(i32(-1))
    w.raw(i32(paper[0]) + i32(paper[1]) + i32(paper[2]))
    w.raw(b"".join(i32(x) for x in margins) + u8(orient))
    if v < 23:
        w.raw(b"\0" * 6)
    if v > 23:
        w.raw(i32(bin_))
    w.raw(u16(prevpage) + u16(usemargins) + i32(cols) + i32(gap))
    if v >= 24:
        w.raw(u8(ptype))
        w.new_str(name)
        w.raw(u8(border))
        w.new_str(caption)
        w.raw(u32(color) + b"".join(i32(x) for x in bounds) + u8(position))
        if script is not None:
            w.new_list(script)


def view(w, type_, page, body, class_name=None):
    """One view record: type, class name for add-ins, page index, end offset."""
    w.raw(u8(type_))
    if type_ == 10:
        w.str(class_name)
    w.raw(u8(page))
    end_at = None
    if w.v > 23:
        end_at = w.pos()
        w.raw(u32(0))
    body(w)
    if end_at is not None:
        w.b[end_at:end_at + 4] = u32(w.pos())


def dictionary(w, variables=(), fields=(), sources=()):
    w.raw(u8(254) + u16(0xFFFE))
    for lst in (variables, fields, sources):
        w.raw(u32(len(lst)))
        for name, value in lst:
            w.new_str(name)
            w.new_str(value)


def info_block(w, comment="", name="", author="", versions=("", "", "", ""),
               password="", protected=0, created=CREATE_DATE, changed=CHANGE_DATE):
    def s(text):
        data = text.encode(GBK)
        w.raw(u16(len(data)) + data)
    for text in (comment, name, author) + tuple(versions):
        s(text)
    s("".join("%02X" % b for b in password.encode(GBK)))
    w.raw(b"X" + u8(protected) + f64(created) + f64(changed))


def stream_head(w, printer="\x01", print_to_default=0, double_pass=0):
    w.raw(u16(print_to_default) + u16(double_pass))
    w.str(printer)


# ---------------------------------------------------------------- view bodies

def memo1(w):
    common(w, "Memo1", (20, 30, 200, 18), flags=3, frametyp=15, fw=1.5,
           fcolor=0xFF, fstyle=1, fill=0xFFFFFF,
           memo=["合计：[Total]", "", "second line"], script=["if a > 1 then b := 2"],
           restr=8, tag="[Tag]", gaps=(3, 2), align=3)
    memo_data(w, font=("宋体", 9, 3, 0x800000), alignment=2 | 8, hlcond="[Value] > 10",
              spacing=(4, 1))


def memo_old(w):
    common(w, "Memo1", (20, 30, 200, 18), flags=1, frametyp=15, fw=2,
           memo=["合计：[Total]", "second line"], fmtstr="#,##0.00")
    memo_data(w, font=("宋体", 9, 3, 0x800000), alignment=2, hlcond="")


def band1(w):
    common(w, "Band1", (0, 60, 718, 24), flags=48 | 1, frametyp=5, fmt=0,
           fmtstr="frDBDataSet1", memo=[], subver=1)
    band_data(w, child="Band2", cols=(2, 300, 10, 3), master="")


def band_old(w):
    common(w, "Band1", (0, 60, 718, 24), flags=48 | 1, frametyp=5, fmt=0,
           fmtstr="frDBDataSet1", subver=1)
    band_data(w)


def picture_empty(w):
    common(w, "Picture1", (300, 100, 80, 60), flags=5, memo=["Query1.Photo"])
    picture_data(w, kind=0, blob=1)


def picture_bmp(w):
    common(w, "Picture2", (300, 200, 80, 60), flags=5)
    picture_data(w, kind=1, blob=0, graphic=bmp_1x1())


def subreport1(w):
    common(w, "SubReport1", (20, 120, 300, 40), flags=1)
    w.raw(i32(1))


def line1(w):
    common(w, "Line1", (20, 160, 0, 50), flags=1, frametyp=4, fw=2, fill=0xFFFFFF,
           fstyle=5)


def plain_view(w):
    common(w, "View1", (1, 2, 3, 4), flags=1)


# ---------------------------------------------------------------- files

def form(version, pages, views, dict_=None, info=None, printer="\x01", head=(0, 0)):
    w = Writer(version)
    w.raw(u8(version))
    stream_head(w, printer, *head)
    for page in pages:
        w.raw(u8(255))
        page(w)
    for v in views:
        view(w, *v)
    if dict_ is not None:
        dictionary(w, *dict_)
    w.raw(u8(252))
    if info is not None:
        info_block(w, **info)
    return bytes(w.b)


DICT = ([(" 单据", ""), ("MoneyCN", "[Sum]"), ("Customer", 'frDBDataSet1."CustomerName"')],
        [("ADOQuery1", "Query"), ("ADOQuery1.Name", "姓名")],
        [("frDBDataSet1", "Rows")])
INFO = dict(comment="月报", name="Money", author="Tallybridge", versions=("1", "2", "3", "4"))


def page_v(version):
    if version >= 24:
        return lambda w: page_record(w, script=["PageScript"], margins=(10, 20, 30, 40))
    return lambda w: page_record(w, margins=(10, 20, 30, 40))


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def main():
    for v in (24, 25):
        write("v%d.frf" % v, form(v, [page_v(v)],
                                  [(2, 0, band1), (0, 0, memo1), (1, 0, picture_empty),
                                   (3, 0, subreport1), (4, 0, line1)],
                                  DICT, INFO))
    write("v23.frf", form(23, [page_v(23)],
                          [(2, 0, band_old), (0, 0, memo_old), (1, 0, picture_empty),
                           (4, 0, line1)], DICT, None))
    for v in (21, 22):
        write("v%d.frf" % v, form(v, [page_v(v)],
                                  [(2, 0, band_old), (0, 0, memo_old), (4, 0, line1)],
                                  None, None, printer="HP LaserJet"))

    # One view class per file, current version.
    two_pages = [lambda w: page_record(w, script=[]),
                 lambda w: page_record(w, name="Page2", paper=(256, 1000, 1500), orient=1,
                                       bin_=7, script=[])]
    write("memo.frf", form(25, [page_v(25)], [(0, 0, memo1)], DICT, INFO))
    write("band.frf", form(25, [page_v(25)], [(2, 0, band1)], DICT, INFO))
    write("picture.frf", form(25, [page_v(25)], [(1, 0, picture_empty), (1, 0, picture_bmp)], DICT, INFO))
    write("subreport.frf", form(25, two_pages, [(3, 0, subreport1), (4, 1, line1)], DICT, INFO))
    write("line.frf", form(25, [page_v(25)], [(4, 0, line1)], DICT, INFO))
    dialog = lambda w: page_record(w, name="Dialog", ptype=1, border=2, caption="选择",
                                   color=0xC0C0C0, bounds=(10, 20, 300, 200), position=0,
                                   script=["ShowMessage('x')"])
    write("dialog.frf", form(25, [dialog], [], DICT, INFO))

    # An unknown add-in between two memos: skipped by its end offset.
    write("addin.frf", form(25, [page_v(25)],
                            [(0, 0, memo1), (10, 0, plain_view, "TfrCheckBoxView"),
                             (4, 0, line1)], DICT, INFO))
    # An old framed-memo class name loads as a memo, with 8 more bytes after it.
    def framed(w):
        memo1(w)
        w.raw(b"\1\2\3\4\5\6\7\x08")
    write("framed.frf", form(25, [page_v(25)], [(10, 0, framed, "TfrFramedMemoView"),
                                                 (4, 0, line1)], DICT, INFO))
    # A view whose page index names no page: skipped, the next loads.
    write("badpage.frf", form(25, [page_v(25)], [(0, 7, memo1), (4, 0, line1)], DICT, INFO))
    write("password.frf", form(25, [page_v(25)], [(0, 0, memo1)], DICT,
                               dict(INFO, password="abc", protected=1)))
    write("printer.frf", form(25, [page_v(25)], [], None, INFO, printer="Office Printer",
                              head=(1, 0xFFFF)))
    write("version26.frf", bytes([26]) + form(25, [page_v(25)], [], None, None)[1:])
    # No version byte: the stream starts with PrintToDefault (0) and reads as 21.
    write("noversion.frf", form(21, [page_v(21)], [(4, 0, line1)], None, None,
                                printer="P")[1:])

    # Wizard templates: description, pages position, picture flag, picture, pages.
    for name, picture in (("plain.frt", b""), ("picture.frt", bmp_1x1())):
        t = Writer(25)
        t.new_list(["合同模板", "second"])
        at = t.pos()
        t.raw(u32(0) + u8(1 if picture else 0) + picture)
        t.b[at:at + 4] = u32(t.pos())
        stream_head(t)
        t.raw(u8(255))
        page_v(25)(t)
        view(t, 0, 0, memo1)
        dictionary(t, *DICT)
        write(name, bytes(t.b))


if __name__ == "__main__":
    main()
