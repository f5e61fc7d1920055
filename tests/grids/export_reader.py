#!/usr/bin/env python3
"""Reads an exported file back without any of the program's code and prints what
it finds as JSON, for the export tests.

  export_reader.py xls FILE   compound file + BIFF8 records: sheets, cells, formats
  export_reader.py rtf FILE   RTF tokens: the table rows and their cells
  export_reader.py htm FILE   html.parser: the table rows, header cells, alignment
"""
import json
import re
import struct
import sys
from html.parser import HTMLParser

FREESECT, ENDOFCHAIN, FATSECT, DIFSECT = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFC


class Bad(Exception):
    pass


def need(cond, what):
    if not cond:
        raise Bad(what)


# ---- compound file ---------------------------------------------------------

def cfb_stream(data, want):
    need(data[:8] == b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1', 'not a compound file')
    minor, major, order, sshift, mshift = struct.unpack_from('<HHHHH', data, 24)
    need(order == 0xFFFE and major == 3 and sshift == 9 and mshift == 6, 'header fields')
    ndir, nfat, firstdir, _, cutoff, firstmini, nmini, firstdifat, ndifat = \
        struct.unpack_from('<9I', data, 40)
    need(ndir == 0 and cutoff == 4096, 'directory count / cutoff')
    ss = 512
    need(len(data) % ss == 0, 'file length not whole sectors')
    nsectors = len(data) // ss - 1

    def sector(i):
        need(i < nsectors, 'sector %d beyond the file' % i)
        return data[(i + 1) * ss:(i + 2) * ss]

    difat = list(struct.unpack_from('<109I', data, 76))
    s = firstdifat
    for _ in range(ndifat):
        ids = struct.unpack('<128I', sector(s))
        difat += ids[:-1]
        s = ids[-1]
    need(s == ENDOFCHAIN or ndifat == 0, 'DIFAT chain end')
    fatids = difat[:nfat]
    need(all(x == FREESECT for x in difat[nfat:]), 'unused DIFAT entries')
    fat = []
    for f in fatids:
        fat += struct.unpack('<128I', sector(f))
    need(len(fat) >= nsectors, 'FAT does not cover the file')
    for f in fatids:
        need(fat[f] == FATSECT, 'FAT sector not marked')

    def chain(start):
        out, seen, s = [], set(), start
        while s != ENDOFCHAIN:
            need(s < nsectors and s not in seen, 'broken chain')
            seen.add(s)
            out.append(s)
            s = fat[s]
        return out

    directory = b''.join(sector(s) for s in chain(firstdir))
    entries = []
    for i in range(len(directory) // 128):
        e = directory[i * 128:(i + 1) * 128]
        nlen = struct.unpack_from('<H', e, 64)[0]
        name = e[:max(0, nlen - 2)].decode('utf-16-le')
        etype = e[66]
        left, right, child = struct.unpack_from('<3I', e, 68)
        start, size, high = struct.unpack_from('<3I', e, 116)
        entries.append(dict(name=name, type=etype, child=child, start=start, size=size, high=high))
    need(entries and entries[0]['type'] == 5 and entries[0]['name'] == 'Root Entry', 'root entry')
    # Walk from the root's child, as a reader following the tree would.
    node = entries[0]['child']
    need(node < len(entries), 'root has no child')
    e = entries[node]
    need(e['type'] == 2 and e['name'] == want, 'stream %s not found' % want)
    need(e['high'] == 0 and e['size'] >= cutoff, 'stream would be in the mini stream')
    sectors = chain(e['start'])
    need(len(sectors) == (e['size'] + ss - 1) // ss, 'chain length differs from stream size')
    return b''.join(sector(s) for s in sectors)[:e['size']]


# ---- BIFF8 -----------------------------------------------------------------

def records(stream, pos):
    while pos + 4 <= len(stream):
        rid, length = struct.unpack_from('<HH', stream, pos)
        need(length <= 8224, 'record 0x%04X longer than 8224 bytes' % rid)
        body = stream[pos + 4:pos + 4 + length]
        need(len(body) == length, 'record cut short')
        yield rid, body
        pos += 4 + length
        if rid == 0x000A:
            return
    raise Bad('substream without EOF')


class Segments:
    """The SST body and its CONTINUE bodies, read as one run of bytes with the
    rule that a string's characters resume after an option byte."""

    def __init__(self, parts):
        self.parts, self.i, self.pos = parts, 0, 0

    def take(self, n):
        out = b''
        while n:
            if self.pos == len(self.parts[self.i]):
                self.i += 1
                self.pos = 0
                need(self.i < len(self.parts), 'SST ran out')
            k = min(n, len(self.parts[self.i]) - self.pos)
            out += self.parts[self.i][self.pos:self.pos + k]
            self.pos += k
            n -= k
        return out

    def chars(self, count, wide):
        units = []
        while count:
            if self.pos == len(self.parts[self.i]):
                self.i += 1
                self.pos = 0
                need(self.i < len(self.parts), 'SST ran out in a string')
                wide = self.parts[self.i][0] & 1
                self.pos = 1
            size = 2 if wide else 1
            k = min(count, (len(self.parts[self.i]) - self.pos) // size)
            need(k > 0, 'character split across records')
            raw = self.parts[self.i][self.pos:self.pos + k * size]
            units.append(raw.decode('utf-16-le', 'surrogatepass') if wide else raw.decode('latin-1'))
            self.pos += k * size
            count -= k
        return ''.join(units)


def read_sst(parts):
    seg = Segments(parts)
    total, unique = struct.unpack('<II', seg.take(8))
    strings = []
    for _ in range(unique):
        cch, flags = struct.unpack('<HB', seg.take(3))
        runs = struct.unpack('<H', seg.take(2))[0] if flags & 0x08 else 0
        ext = struct.unpack('<I', seg.take(4))[0] if flags & 0x04 else 0
        s = seg.chars(cch, flags & 0x01)
        seg.take(4 * runs + ext)
        strings.append(s.encode('utf-16-le', 'surrogatepass').decode('utf-16-le'))
    return total, strings


def unicode_string(body, pos, short):
    if short:
        cch, flags = body[pos], body[pos + 1]
        pos += 2
    else:
        cch, flags = struct.unpack_from('<HB', body, pos)
        pos += 3
    size = 2 if flags & 1 else 1
    raw = body[pos:pos + cch * size]
    return raw.decode('utf-16-le') if size == 2 else raw.decode('latin-1')


def read_xls(path):
    stream = cfb_stream(open(path, 'rb').read(), 'Workbook')
    sheets, sst, continues, xfs, formats, codepage = [], [], 0, [], {}, None
    sst_parts, in_sst = None, False
    it = records(stream, 0)
    rid, body = next(it)
    need(rid == 0x0809 and struct.unpack_from('<HH', body)[0:2] == (0x0600, 0x0005), 'globals BOF')
    seen = set()
    for rid, body in it:
        seen.add(rid)
        if rid == 0x003C and in_sst:
            sst_parts.append(body)
            continues += 1
            continue
        if in_sst:
            in_sst = False
        if rid == 0x0042:
            codepage = struct.unpack('<H', body)[0]
        elif rid == 0x041E:
            formats[struct.unpack_from('<H', body)[0]] = unicode_string(body, 2, False)
        elif rid == 0x00E0:
            xfs.append(struct.unpack_from('<HH', body))
        elif rid == 0x0085:
            offset, flags = struct.unpack_from('<IH', body)
            sheets.append(dict(name=unicode_string(body, 6, True), offset=offset))
        elif rid == 0x00FC:
            sst_parts, in_sst = [body], True
    for rid in (0x003D, 0x0031, 0x0293, 0x00E0):
        need(rid in seen, 'globals lack record 0x%04X' % rid)
    need(len(xfs) >= 16, 'fewer than 16 XF records')
    if sst_parts is not None:
        total, sst = read_sst(sst_parts)

    out = []
    for sh in sheets:
        it = records(stream, sh['offset'])
        rid, body = next(it)
        need(rid == 0x0809 and struct.unpack_from('<H', body, 2)[0] == 0x0010, 'sheet BOF')
        dims, cells, numfmt, has_window2 = None, {}, [], False
        for rid, body in it:
            if rid == 0x0200:
                dims = struct.unpack_from('<IIHH', body)
            elif rid == 0x00FD:
                r, c, xf, isst = struct.unpack_from('<HHHI', body)
                need(isst < len(sst), 'string index beyond the SST')
                cells[(r, c)] = sst[isst]
            elif rid == 0x0203:
                r, c, xf, v = struct.unpack_from('<HHHd', body)
                cells[(r, c)] = v
                fmt = xfs[xf][1]
                numfmt.append([r, c, formats.get(fmt, 'General' if fmt == 0 else 'builtin %d' % fmt)])
            elif rid == 0x0204:
                r, c, xf = struct.unpack_from('<HHH', body)
                cells[(r, c)] = unicode_string(body, 6, False)
            elif rid == 0x023E:
                has_window2 = True
        need(dims is not None and has_window2, 'sheet lacks DIMENSIONS or WINDOW2')
        rows, cols = dims[1], dims[3]
        for (r, c) in cells:
            need(r < rows and c < cols, 'cell outside DIMENSIONS')
        out.append(dict(name=sh['name'], numberFormats=numfmt,
                        rows=[[cells.get((r, c)) for c in range(cols)] for r in range(rows)]))
    return dict(codepage=codepage, continues=continues, sheets=out)


# ---- RTF -------------------------------------------------------------------

TOKEN = re.compile(rb"\\([a-zA-Z]+)(-?\d+)? ?|\\'([0-9a-fA-F]{2})|\\(.)|([{}])|([\r\n]+)|([^\\{}\r\n]+)", re.S)
SKIP_DESTINATIONS = {b'fonttbl', b'colortbl', b'stylesheet', b'info', b'pict'}


def read_rtf(path):
    data = open(path, 'rb').read()
    need(data.startswith(b'{\\rtf1'), 'not RTF')
    stack, uc, skip, pending_skip = [], 1, False, 0
    codepage = 1252
    units, hexbytes = [], b''
    rows, row, cell_aligns, paragraphs, in_table, align, depth = [], [], [], [], False, 'left', 0
    text = []

    def flush_hex():
        nonlocal hexbytes
        if hexbytes:
            text.append(hexbytes.decode('cp%d' % codepage, 'replace'))
            hexbytes = b''

    def flush_units():
        nonlocal units
        if units:
            text.append(b''.join(struct.pack('<H', u) for u in units).decode('utf-16-le', 'replace'))
            units = []

    def flush():
        flush_hex()
        flush_units()

    for m in TOKEN.finditer(data):
        word, param, hexd, symbol, brace, newline, plain = m.groups()
        if brace == b'{':
            stack.append((uc, skip))
            depth += 1
            continue
        if brace == b'}':
            flush()
            uc, skip = stack.pop()
            depth -= 1
            continue
        if newline:
            continue
        if pending_skip and (plain or hexd or symbol):
            # The fallback characters after \uN.
            if plain:
                n = min(pending_skip, len(plain))
                pending_skip -= n
                plain = plain[n:]
                if not plain:
                    continue
            else:
                pending_skip -= 1
                continue
        if skip:
            continue
        if word:
            w = word
            if w in SKIP_DESTINATIONS:
                skip = True
            elif w == b'ansicpg':
                codepage = int(param)
            elif w == b'uc':
                uc = int(param)
            elif w == b'u':
                flush_hex()
                v = int(param)
                units.append(v + 65536 if v < 0 else v)
                pending_skip = uc
            elif w == b'tab':
                flush(); text.append('\t')
            elif w == b'line':
                flush(); text.append('\n')
            elif w == b'intbl':
                in_table = True
            elif w in (b'ql', b'qr', b'qc', b'qj'):
                align = {b'ql': 'left', b'qr': 'right', b'qc': 'center', b'qj': 'left'}[w]
            elif w == b'pard':
                in_table, align = False, 'left'
            elif w == b'cell':
                flush()
                row.append(''.join(text))
                cell_aligns.append(align)
                text = []
            elif w == b'row':
                rows.append(dict(cells=row, align=cell_aligns))
                row, cell_aligns = [], []
            elif w == b'par':
                flush()
                paragraphs.append(''.join(text))
                text = []
            continue
        if hexd:
            flush_units()
            hexbytes += bytes([int(hexd, 16)])
            continue
        if symbol:
            if symbol == b'*':
                skip = True
            elif symbol in (b'\\', b'{', b'}'):
                flush(); text.append(symbol.decode())
            continue
        if plain:
            flush()
            text.append(plain.decode('ascii'))
    need(depth == 0, 'unbalanced groups')
    return dict(paragraphs=[p for p in paragraphs if p], rows=[r['cells'] for r in rows],
                align=[r['align'] for r in rows])


# ---- HTML ------------------------------------------------------------------

class TableParser(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.row, self.cell, self.title, self.style = [], None, None, '', ''
        self.where = []
        self.meta_charset = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == 'meta' and 'charset' in a:
            self.meta_charset = a['charset']
        if tag in ('title', 'style'):
            self.where.append(tag)
        elif tag == 'tr':
            self.row = []
        elif tag in ('td', 'th'):
            self.cell = dict(t='', h=tag == 'th', cls=a.get('class', ''), align=a.get('align', ''))
        elif tag == 'br' and self.cell is not None:
            self.cell['t'] += '\n'

    def handle_endtag(self, tag):
        if tag in ('title', 'style') and self.where:
            self.where.pop()
        elif tag in ('td', 'th') and self.cell is not None:
            self.row.append(self.cell)
            self.cell = None
        elif tag == 'tr' and self.row is not None:
            self.rows.append(self.row)
            self.row = None

    def handle_data(self, data):
        if self.where and self.where[-1] == 'title':
            self.title += data
        elif self.where and self.where[-1] == 'style':
            self.style += data
        elif self.cell is not None:
            self.cell['t'] += data


def read_htm(path):
    p = TableParser()
    p.feed(open(path, 'rb').read().decode('utf-8'))
    p.close()
    aligned = {m.group(1): m.group(2) for m in
               re.finditer(r'\.([\w-]+)\s*\{[^}]*text-align:\s*(\w+)', p.style)}
    rows, header = [], []
    for r in p.rows:
        rows.append([c['t'] for c in r])
        header.append([c['h'] for c in r])
    align = [[c['align'] or aligned.get(c['cls'], 'left') for c in r] for r in p.rows]
    return dict(title=p.title, charset=p.meta_charset, rows=rows, header=header, align=align)


def main():
    kind, path = sys.argv[1], sys.argv[2]
    try:
        result = {'xls': read_xls, 'rtf': read_rtf, 'htm': read_htm}[kind](path)
    except (Bad, struct.error, UnicodeDecodeError, IndexError, KeyError, StopIteration) as e:
        print(json.dumps({'error': '%s: %s' % (type(e).__name__, e)}, ensure_ascii=False))
        return 1
    sys.stdout.write(json.dumps(result, ensure_ascii=False))
    return 0


if __name__ == '__main__':
    sys.exit(main())
